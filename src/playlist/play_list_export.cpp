// SPDX-License-Identifier: GPL-3.0-or-later
#include "playlist/play_list_export.h"

#include <algorithm>

#include "app/outcome.h"
#include "mfd/record.h"
#include "textio/delimited_export.h"

namespace cadenzo {
namespace {

void AppendFields(std::string& text, std::initializer_list<std::string_view> fields) {
  bool first = true;
  for (const std::string_view field : fields) {
    if (!first) text += '\t';
    text += field;
    first = false;
  }
  text += kCrLf;
}

}  // namespace

std::string PlayListPlainText(const PlayList& list) {
  std::string text;
  const bool standard = list.Layout() == PlayListLayout::kDefault;
  if (standard) {
    AppendFields(text, {"Number", "Music         ", "StyleName", "TimeSig", "Tempo", "Comments"});
  } else {
    AppendFields(text, {"Number", "Genre         ", "Music         ", "StyleName"});
  }
  std::size_t n = 0;
  for (const PlayListRow& row : list.Rows()) {
    const std::string sequence = RunningNumberText(++n);
    if (standard) {
      AppendFields(
          text, {sequence, row.Cell(plcol::kMusic), row.Cell(plcol::kStyle),
                 row.Cell(plcol::kTimeSig), row.Cell(plcol::kTempo), row.Cell(plcol::kComments)});
    } else {
      AppendFields(text, {sequence, row.Cell(plcol::kSgGenre), row.Cell(plcol::kSgMusic),
                          row.Cell(plcol::kSgStyle)});
    }
  }
  return text;
}

const Row* SourceRowOf(const PlayListRow& row, PlayListLayout layout, const RecordList& main) {
  const bool standard = layout == PlayListLayout::kDefault;
  const std::string& music = row.Cell(standard ? plcol::kMusic : plcol::kSgMusic);
  const std::string& style = row.Cell(standard ? plcol::kStyle : plcol::kSgStyle);
  auto showsSong = [&](const Row& m) {
    return !IsDeletedRow(m) && m.Cell(col::kMusic) == music && m.Cell(col::kStyle) == style;
  };
  const int at = main.FindByRecord(static_cast<std::uint32_t>(std::max(row.CdzIndex(), 0)));
  const Row* numbered = at >= 0 ? &main[static_cast<std::size_t>(at)] : nullptr;
  if (numbered != nullptr && IsDeletedRow(*numbered)) numbered = nullptr;
  if (numbered != nullptr && showsSong(*numbered)) return numbered;
  for (const Row& m : main) {
    if (showsSong(m)) return &m;
  }
  // The record was edited since it was added: it is still the song the user chose.
  return numbered;
}

std::string PlayListImportableText(const PlayList& list, const RecordList& main) {
  std::string text = DelimitedHeaderLine();
  text += kCrLf;
  std::size_t n = 0;
  for (const PlayListRow& row : list.Rows()) {
    ++n;
    const Row* source = SourceRowOf(row, list.Layout(), main);
    // A song whose record is gone from the main list cannot be written as a record.
    if (source == nullptr) continue;
    text += RunningNumberText(n);
    for (int c = col::kGenre; c <= col::kNext; ++c) {
      text += '\t';
      if (c == col::kMusic) text += NumberText(static_cast<int>(n), 3) + " ";
      text += source->Cell(c);
    }
    text += kCrLf;
  }
  text.resize(text.size() - kCrLf.size());
  return text;
}

Outcome ExportPlayListText(const PlayList& list, AppState& state, Dialogs& dialogs) {
  std::string text;
  Outcome outcome =
      RunGuarded("PlayList TextFile", [&](Outcome&) { text = PlayListPlainText(list); });
  if (outcome.Ok()) outcome.Absorb(SaveDelimitedFile(state, dialogs, text).outcome);
  return outcome;
}

Outcome ExportPlayListImportable(const PlayList& list, AppState& state, Dialogs& dialogs) {
  std::string text;
  Outcome outcome = RunGuarded("mnuTextFileImportable",
                               [&](Outcome&) { text = PlayListImportableText(list, state.List); });
  if (outcome.Ok()) outcome.Absorb(SaveDelimitedFile(state, dialogs, text).outcome);
  return outcome;
}

}  // namespace cadenzo
