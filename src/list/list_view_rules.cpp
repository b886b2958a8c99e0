// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/list_view_rules.h"

#include <charconv>
#include <cmath>

#include "app/outcome.h"
#include "app/runtime_error.h"
#include "charset/cp1252.h"

namespace cadenzo {

namespace {
// Font sizes outside this range would make the list unreadable or unusable.
constexpr int kSmallestFontSize = 1;
constexpr int kLargestFontSize = 72;
}  // namespace

const std::array<ListColumn, col::kCount>& ListColumns() {
  static const std::array<ListColumn, col::kCount> columns = {{
      {"Number", 2000, ColumnAlign::kLeft},
      {"Genre", 2000, ColumnAlign::kLeft},
      {"Music", 2000, ColumnAlign::kLeft},
      {"Style or File", 2000, ColumnAlign::kLeft},
      {"TimeSig", 2000, ColumnAlign::kCentre},
      {"Tempo", 2000, ColumnAlign::kRight},
      {"Keywords", 2000, ColumnAlign::kLeft},
      {"Fav ", 500, ColumnAlign::kCentre},
      {"S1", 500, ColumnAlign::kCentre},
      {"S2", 500, ColumnAlign::kLeft},
      {"Intro", 500, ColumnAlign::kCentre},
      {"Next Section", 500, ColumnAlign::kLeft},
      {" ", 500, ColumnAlign::kLeft},
  }};
  return columns;
}

const std::array<std::string_view, 16>& CommandButtons() {
  static const std::array<std::string_view, 16> names = {
      "cmdSearch",       "cmdPlayList", "cmdModify", "CmdDelete", "cmdDeleteChecked", "cmdAdd",
      "cmdReplaceStyle", "CmdFav",      "cmdS1",     "cmdS2",     "cmdSetFav",        "cmdSetS1",
      "cmdSetS2",        "CmdUnCheck",  "cmdCheck",  "cmdInvert"};
  return names;
}

Outcome SortByColumn(AppState& state, int column) {
  return RunGuarded("ListViewClick", [&](Outcome&) {
    if (column < 0 || column >= col::kCount) throw RuntimeError(err::kSubscriptOutOfRange);
    if (state.List.ClickColumn(column)) state.SortColumn = static_cast<std::int16_t>(column);
    state.Editor.lblSelectedFile.clear();
    state.EditStyleOrFile.clear();
  });
}

Result<int> UpdateCheckedCount(Document& state) {
  Result<int> result;
  result.outcome = RunGuarded("ListView_ItemCheck", [&](Outcome&) {
    result.value = state.List.CheckedCount();
    // Play List stays on even when the last mark went.
    state.CheckCommands = {CheckCommandRules::DeleteChecked::kFollowsMarks, true};
  });
  return result;
}

void PrepareMainWindow(AppState& state) {
  state.ListFontSize = 8;
  state.FileSaved = true;
  // Every command is offered until a file is opened.
  state.CheckCommands = CheckCommandRules{};
  state.RowCommandsNeedSelection = false;
}

std::optional<int> FontSizeFrom(std::string_view answer) {
  const std::string_view text = TrimBlanks(answer);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  // A whole number by the usual rounding: halves go to the even neighbour.
  const double rounded = std::nearbyint(value);
  if (!(rounded >= kSmallestFontSize && rounded <= kLargestFontSize)) return std::nullopt;
  return static_cast<int>(rounded);
}

bool ChooseListFontSize(AppState& state, Dialogs& dialogs) {
  const auto answer = dialogs.Input("Input font size to use ", kProgramTitle, "8");
  if (!answer) return false;
  const auto size = FontSizeFrom(*answer);
  if (!size) return false;
  state.ListFontSize = *size;
  state.PendingColumnFit = ColumnFit::kHeaderAndContents;
  return true;
}

void ToggleGridLines(RunOptions& state) { state.HideGridLines = !state.HideGridLines; }

}  // namespace cadenzo
