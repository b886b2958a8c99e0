// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/row_commands.h"

#include <array>
#include <limits>
#include <vector>

#include "app/outcome.h"
#include "charset/cp1252.h"
#include "mfd/byte_io.h"
#include "mfd/record.h"

namespace cadenzo {
namespace {

constexpr const char* kYes = "Yes";
constexpr const char* kNo = "No";

struct TimeSigOption {
  std::string_view text;  // the trimmed TimeSig cell
  const char* option;     // the editor's option button
};
constexpr std::array<TimeSigOption, 5> kTimeSigOptions = {{{"4/ 4", "opt44"},
                                                           {"2/ 4", "opt24"},
                                                           {"3/ 4", "opt34"},
                                                           {"6/ 8", "opt68"},
                                                           {"0/ 0", "opt00"}}};

// The whole-number value of a cell: leading blanks, a sign and digits; anything else ends the
// number, and a text without digits counts as 0. Values beyond the range of long long saturate.
long long LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  constexpr long long kLimit = std::numeric_limits<long long>::max() / 10 - 10;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < kLimit) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

bool FitsInt16(long long value) {
  return value >= std::numeric_limits<std::int16_t>::min() &&
         value <= std::numeric_limits<std::int16_t>::max();
}

const char* ErrorNameOfToggle(RecordFlag flag) {
  switch (flag) {
    case RecordFlag::kFavorite:
      return "mnuTrackMenuSetFavorite";
    case RecordFlag::kSearch1:
      return "mnuTrackMenuSetS1";
    case RecordFlag::kSearch2:
      return "MnuTrackMenuSetS2";
  }
  return "";
}

// The names errors of Set (all) and Clear (all) are reported with.
const char* ErrorNameOfAll(RecordFlag flag, bool set) {
  switch (flag) {
    case RecordFlag::kFavorite:
      return set ? "cmdSetFav_click" : "CmdFav_click";
    case RecordFlag::kSearch1:
      return set ? "cmdSetS1" : "cmdS1";
    case RecordFlag::kSearch2:
      return set ? "cmdSetS2" : "cmdS2";
  }
  return "";
}

// The flag's name in status lines.
std::string FlagName(RecordFlag flag) {
  switch (flag) {
    case RecordFlag::kFavorite:
      return "Favorite";
    case RecordFlag::kSearch1:
      return "Search 1";
    case RecordFlag::kSearch2:
      return "Search 2";
  }
  return "";
}

// "12 rows checked": the checked rows after a check command.
void ReportChecked(Outcome& outcome, const Document& state) {
  long long checked = 0;
  for (const Row& row : state.List) checked += row.checked ? 1 : 0;
  outcome.Report(Counted(checked, "row") + " checked");
}

// Flips one flag of the selected row by its cell text.
Result<RowCommandResult> ToggleByCell(AppState& state, RecordFlag flag) {
  Result<RowCommandResult> result;
  result.outcome = RunGuarded(ErrorNameOfToggle(flag), [&](Outcome& outcome) {
    const auto position = SelectedRow(state);
    if (!position) return;
    Row& row = state.List[*position];
    const std::size_t r = RecordOffsetOfRow(state, row);
    const bool on = row.Cell(FlagColumn(flag)) != kYes;
    row.SetCell(FlagColumn(flag), on ? kYes : kNo);
    SetFlag(state.FileBytes, r, FlagBit(flag), on);
    outcome.Report(FlagName(flag) + (on ? " set on record " : " cleared on record ") +
                   std::to_string(row.record));
    if (on) result.value = RowCommandResult::kFitColumns;
    state.FileSaved = false;
  });
  return result;
}

// Sets or clears one flag in every row's cell and in every record of the store. The store is
// checked before anything changes, so a missing or short image leaves rows and records alone.
Outcome ApplyFlagToAll(Document& state, const char* errorName, RecordFlag flag, bool on) {
  return RunGuarded(errorName, [&](Outcome& outcome) {
    const std::uint16_t count = HeaderCount(state.FileBytes);
    if (count > 0) CheckRange(state.FileBytes.size(), mfd::RecordOffset(count), mfd::kRecordSize);
    for (Row& row : state.List) row.SetCell(FlagColumn(flag), on ? kYes : kNo);
    for (std::size_t n = 1; n <= count; ++n) {
      SetFlag(state.FileBytes, mfd::RecordOffset(n), FlagBit(flag), on);
    }
    state.FileSaved = false;
    outcome.Report(FlagName(flag) + (on ? " set on all " : " cleared on all ") +
                   Counted(count, "record"));
  });
}

}  // namespace

int FlagColumn(RecordFlag flag) {
  switch (flag) {
    case RecordFlag::kFavorite:
      return col::kFav;
    case RecordFlag::kSearch1:
      return col::kS1;
    case RecordFlag::kSearch2:
      return col::kS2;
  }
  return col::kFav;
}

std::uint8_t FlagBit(RecordFlag flag) {
  switch (flag) {
    case RecordFlag::kFavorite:
      return mfd::kFavorite;
    case RecordFlag::kSearch1:
      return mfd::kSearch1;
    case RecordFlag::kSearch2:
      return mfd::kSearch2;
  }
  return mfd::kFavorite;
}

std::optional<std::size_t> SelectedRow(const Document& state) {
  for (std::size_t i = 0; i < state.List.Size(); ++i) {
    if (state.List[i].selected) return i;
  }
  return std::nullopt;
}

std::size_t RecordOffsetOfRow(const Document& state, const Row& row) {
  return CheckedRecordOffset(state.FileBytes, row.record);
}

Outcome SelectRow(AppState& state, std::size_t position) {
  return RunGuarded("ListView_ItemClick", [&](Outcome&) {
    if (position >= state.List.Size()) throw RuntimeError(err::kListIndexOutOfBounds);
    const Row& row = state.List[position];
    // A tempo the keyboard message cannot carry counts as none.
    const long long tempo = LeadingNumber(row.Cell(col::kTempo));

    state.List.SelectOnly(static_cast<int>(position));
    state.SelectedRecord = static_cast<int>(row.record);
    state.RowClicked = true;

    EditorLists& editor = state.Editor;
    editor.txtMusic = row.Cell(col::kMusic);
    editor.lblCurrentStyle = row.Cell(col::kStyle);
    state.SelectedStyleText = row.Cell(col::kStyle);
    editor.txtTempo = row.Cell(col::kTempo);
    state.SelectedTempo = FitsInt16(tempo) ? static_cast<std::int16_t>(tempo) : std::int16_t{0};
    state.SelectedIntroCode = static_cast<std::int16_t>(SectionCode(row.Cell(col::kIntro)));
    state.SelectedNextCode = static_cast<std::int16_t>(SectionCode(row.Cell(col::kNext)));
    editor.txtKeywords = row.Cell(col::kKeywords);
    editor.chkFavorite = row.Cell(col::kFav) == kYes;
    editor.chkSearch1 = row.Cell(col::kS1) == kYes;
    editor.chkSearch2 = row.Cell(col::kS2) == kYes;

    // A time signature outside the five options keeps the option the last click chose.
    const std::string_view timeSig = TrimBlanks(row.Cell(col::kTimeSig));
    for (const auto& option : kTimeSigOptions) {
      if (option.text == timeSig) {
        editor.timeSigOption = option.option;
        state.EditTimeSig = " " + std::string(timeSig);
        break;
      }
    }
    // The genre is chosen by its text among the combo's entries; a genre the combo does not
    // hold leaves the choice as it was.
    const std::string_view genre = row.Cell(col::kGenre);
    for (const auto& entry : editor.genres) {
      if (entry == genre) {
        editor.cboGenre = entry;
        break;
      }
    }
  });
}

Result<RowCommandResult> RunDoubleClickAction(AppState& state) {
  Result<RowCommandResult> result;
  result.outcome = RunGuarded("ListView1_DblClick", [&](Outcome&) {
    const auto position = SelectedRow(state);
    if (!position) return;
    if (state.DoubleClickEdits) {
      // The editor's OK marks the file changed when something is stored.
      result.value = RowCommandResult::kModify;
      return;
    }
    // Toggle mode decides by the record's bit, which may disagree with the cell after an import.
    Row& row = state.List[*position];
    const std::size_t r = RecordOffsetOfRow(state, row);
    const bool on = (ReadU8(state.FileBytes, r + mfd::kFlags) & mfd::kFavorite) == 0;
    row.SetCell(col::kFav, on ? kYes : kNo);
    SetFlag(state.FileBytes, r, mfd::kFavorite, on);
    if (on) result.value = RowCommandResult::kFitColumns;
    state.FileSaved = false;
  });
  return result;
}

Result<RowCommandResult> ToggleFlagOfSelected(AppState& state, RecordFlag flag) {
  return ToggleByCell(state, flag);
}

Result<RowCommandResult> SetFlagOnAll(AppState& state, RecordFlag flag) {
  Result<RowCommandResult> result;
  result.outcome = ApplyFlagToAll(state, ErrorNameOfAll(flag, true), flag, true);
  if (result.outcome.Ok()) result.value = RowCommandResult::kFitColumns;
  return result;
}

Outcome ClearFlagOnAll(AppState& state, RecordFlag flag) {
  return ApplyFlagToAll(state, ErrorNameOfAll(flag, false), flag, false);
}

Outcome CheckAll(Document& state) {
  return RunGuarded("cmdCheck", [&](Outcome& outcome) {
    for (Row& row : state.List) row.checked = true;
    // Both stay on even for an empty list.
    state.CheckCommands = {CheckCommandRules::DeleteChecked::kOnWithoutMarks, true};
    ReportChecked(outcome, state);
  });
}

Outcome UncheckAll(Document& state) {
  return RunGuarded("UnCheck", [&](Outcome& outcome) {
    for (Row& row : state.List) row.checked = false;
    state.CheckCommands = {CheckCommandRules::DeleteChecked::kFollowsMarks, false};
    ReportChecked(outcome, state);
  });
}

Outcome InvertChecks(Document& state) {
  return RunGuarded("Invert", [&](Outcome& outcome) {
    int count = 0;
    for (Row& row : state.List) {
      row.checked = !row.checked;
      if (row.checked) ++count;
    }
    state.CheckCommands = {CheckCommandRules::DeleteChecked::kFollowsMarks, count >= 1};
    ReportChecked(outcome, state);
  });
}

Outcome AppendKeywordToAll(AppState& state, Dialogs& dialogs) {
  return RunGuarded("mnuKeyword_Add", [&](Outcome& outcome) {
    const auto answer = dialogs.Input(kAddKeywordPrompt, kAddKeywordTitle, "");
    if (!answer || answer->empty()) return;
    // Every row's record is found before any of them changes.
    std::vector<std::size_t> offsets;
    offsets.reserve(state.List.Size());
    for (const Row& row : state.List) offsets.push_back(RecordOffsetOfRow(state, row));

    for (std::size_t i = 0; i < state.List.Size(); ++i) {
      const std::string cell = std::string(state.List[i].Cell(col::kKeywords)) + "," + *answer;
      state.List[i].SetCell(col::kKeywords, cell);
      // The field takes the first 32 characters; bytes after the text keep what they held.
      const std::size_t n = std::min(cell.size(), mfd::kKeywordsLength);
      for (std::size_t j = 0; j < n; ++j) {
        WriteU8(state.FileBytes, offsets[i] + mfd::kKeywords + j,
                static_cast<std::uint8_t>(cell[j]));
      }
    }
    state.FileSaved = false;
    outcome.Report("Added the keyword " + *answer + " to " +
                   Counted(static_cast<long long>(state.List.Size()), "record"));
  });
}

void SetDoubleClickEdits(RunOptions& state) { state.DoubleClickEdits = true; }
void SetDoubleClickToggles(RunOptions& state) { state.DoubleClickEdits = false; }

}  // namespace cadenzo
