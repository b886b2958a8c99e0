// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/bulk_replace.h"

#include <algorithm>

#include "app/outcome.h"
#include "catalogue/style_list.h"
#include "charset/cp1252.h"
#include "mfd/byte_io.h"
#include "mfd/processing_pass.h"
#include "mfd/record.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

bool ByCharacterCodes(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

}  // namespace

Outcome PrepareStyleReplace(EditorDraft& state) {
  Outcome outcome;
  if (state.SelectedRecord == 0) {
    outcome.Fail(Problem::kRefused, kSelectItemFirst);
    return outcome;
  }
  state.EditStyleOrFile.clear();
  return outcome;
}

StyleReplaceSetup LoadStyleReplace(AppState& state) {
  StyleReplaceSetup setup;
  setup.outcome = RunGuarded("Load StyleReplace", [&](Outcome&) {
    // A bad line of the style list ends the entries; the rest of the window is still filled so
    // that its labels show the selected row before the error is reported.
    ComboFill fill = StyleComboEntries(StyleFoldersOf(state), state.TargetInstrument);
    setup.styles = std::move(fill.entries);
    setup.currentStyle = state.SelectedStyleText;
    setup.mode = ReplaceMode::kStyle;

    // The genres up to the first empty entry are sorted where they stand, so GenreList stays
    // sorted for the editor too.
    auto& list = state.GenreList;
    const auto end = std::find(list.begin(), list.end(), std::string{});
    std::sort(list.begin(), end, ByCharacterCodes);
    setup.genres.assign(list.begin(), end);

    const int position = state.List.FindByRecord(state.SelectedRecord);
    if (position >= 0) {
      setup.currentGenre = state.List[static_cast<std::size_t>(position)].Cell(col::kGenre);
    }
    const auto found = std::find(setup.genres.begin(), setup.genres.end(), setup.currentGenre);
    if (!setup.currentGenre.empty() && found != setup.genres.end()) {
      setup.genreIndex = static_cast<int>(found - setup.genres.begin());
    }

    if (fill.failed) {
      throw RuntimeError(fill.errorNumber, ErrorDescription(fill.errorNumber) + " - " +
                                               fill.lastGoodName.value_or("") + "  " +
                                               fill.lastGoodNumber.value_or(""));
    }
  });
  setup.loaded = setup.outcome.Ok();
  return setup;
}

int AddTypedGenre(std::vector<std::string>& genres, const std::string& typed) {
  if (typed.empty()) return -1;
  const auto found = std::find(genres.begin(), genres.end(), typed);
  if (found != genres.end()) return static_cast<int>(found - genres.begin());
  genres.push_back(typed);
  return static_cast<int>(genres.size()) - 1;
}

std::string ReplaceKeywordText(const std::string& keywords, const std::string& current,
                               const std::string& replacement, KeywordMatch match) {
  if (match == KeywordMatch::kCharacters) {
    // The first occurrence only, case-sensitive. An empty keyword matches nothing.
    if (current.empty()) return keywords;
    const auto at = keywords.find(current);
    if (at == std::string::npos) return keywords;
    return keywords.substr(0, at) + replacement + keywords.substr(at + current.size());
  }
  // "*" as the current whole keyword clears the keywords.
  if (current == "*") return {};
  if (keywords.empty()) return keywords;

  // Each comma-separated part, as written (no trim), compared without regard to case. The new
  // keyword "*" removes a matching part together with the comma after it; a matching last part
  // has no comma after it and becomes "*".
  const std::vector<std::string_view> parts = SplitAt(keywords, ',');
  std::string out;
  bool first = true;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const bool last = i + 1 == parts.size();
    std::string part(parts[i]);
    if (EqualsNoCase(part, current)) {
      if (replacement == "*" && !last) continue;
      part = replacement;
    }
    if (!first) out += ',';
    out += part;
    first = false;
  }
  return out;
}

Result<bool> ReplaceInAllRecords(AppState& state, Dialogs& dialogs,
                                 const StyleReplaceValues& values) {
  Result<bool> ran;
  ran.outcome = RunGuarded("StyleReplaceAllEntries", [&](Outcome& outcome) {
    if (values.mode == ReplaceMode::kStyle && !values.newStyle) return;
    if (values.mode == ReplaceMode::kGenre && !values.newGenre) return;
    outcome.Absorb(SubReplaceStyle(state, dialogs, values));
    ran.value = true;
  });
  return ran;
}

Outcome SubReplaceStyle(AppState& state, Dialogs& dialogs, const StyleReplaceValues& values) {
  long long changed = 0;
  Outcome outcome = RunGuarded("SubReplaceStyle", [&](Outcome&) {
    RecordList& list = state.List;
    list.SetSortKey(col::kNumber, false);
    std::span<std::uint8_t> bytes = state.FileBytes;
    // Marked first: rows changed before an error stay changed.
    state.FileSaved = false;

    for (Row& row : list) {
      if (row.deleted) continue;  // its record is not saved; its cells show the deletion
      switch (values.mode) {
        case ReplaceMode::kStyle: {
          if (!values.newStyle || row.Cell(col::kStyle) != values.currentStyle) break;
          const std::size_t r = CheckedRecordOffset(state.FileBytes, row.record);
          const int number = values.newStyle->data;
          if (number < 0 || number > 0xFFFF) throw RuntimeError(err::kOverflow);
          WriteU16(bytes, r + mfd::kStyle, static_cast<std::uint16_t>(number));
          row.SetCell(col::kStyle, values.newStyle->text);
          ++changed;
          break;
        }
        case ReplaceMode::kGenre: {
          if (!values.newGenre || row.Cell(col::kGenre) != values.currentGenre) break;
          const std::size_t r = CheckedRecordOffset(state.FileBytes, row.record);
          EncodeText(bytes, r + mfd::kGenre, mfd::kGenreLength, *values.newGenre);
          row.SetCell(col::kGenre, *values.newGenre);
          ++changed;
          break;
        }
        case ReplaceMode::kKeyword: {
          // Every row's keywords are written back, changed or not.
          const std::size_t r = CheckedRecordOffset(state.FileBytes, row.record);
          std::string text =
              ReplaceKeywordText(std::string(row.Cell(col::kKeywords)), values.currentKeyword,
                                 values.newKeyword, values.match);
          EncodeText(bytes, r + mfd::kKeywords, mfd::kKeywordsLength, text);
          if (text != row.Cell(col::kKeywords)) ++changed;
          row.SetCell(col::kKeywords, text);
          break;
        }
      }
    }
  });
  if (!outcome.Ok()) return outcome;
  outcome.Absorb(RunPreview(state, dialogs).outcome);
  switch (values.mode) {
    case ReplaceMode::kStyle:
      outcome.Report("Replaced " + values.currentStyle + " by " + values.newStyle->text + " in " +
                     Counted(changed, "record"));
      break;
    case ReplaceMode::kGenre:
      outcome.Report("Replaced " + values.currentGenre + " by " + *values.newGenre + " in " +
                     Counted(changed, "record"));
      break;
    case ReplaceMode::kKeyword:
      outcome.Report("Replaced the keyword " + values.currentKeyword + " by " + values.newKeyword +
                     " in " + Counted(changed, "record"));
      break;
  }
  return outcome;
}

std::string ReplacementStepName(const StyleReplaceValues& values) {
  switch (values.mode) {
    case ReplaceMode::kStyle:
      return "Replace " + values.currentStyle + " by " +
             (values.newStyle ? values.newStyle->text : std::string());
    case ReplaceMode::kGenre:
      return "Replace " + values.currentGenre + " by " + values.newGenre.value_or(std::string());
    case ReplaceMode::kKeyword:
      return "Replace " + values.currentKeyword + " by " + values.newKeyword;
  }
  return "Replace";
}

}  // namespace cadenzo
