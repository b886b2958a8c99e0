// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

enum class ColumnAlign { kLeft, kCentre, kRight };

// One column of the record list: header text, initial width in twips and alignment.
struct ListColumn {
  std::string_view header;
  int initialWidth;
  ColumnAlign align;
};

// The thirteen columns of ListView1 by index.
const std::array<ListColumn, col::kCount>& ListColumns();

// The command buttons of the main window that its load enables.
const std::array<std::string_view, 16>& CommandButtons();

// Column click on ListView1: the same key reverses the order, another key sorts ascending and is
// stored in SortColumn; either way the editor's selected file is forgotten. Errors are reported
// with "ListViewClick".
Outcome SortByColumn(AppState& state, int column);

// A row's check box changed: from now on cmdPlayList stays enabled and cmdDeleteChecked follows
// the marks. Errors are reported with "ListView_ItemCheck". Answers the number of checked rows.
Result<int> UpdateCheckedCount(Document& state);

// Load of the main window: list font size 8, FileSaved, every command button and the count labels
// enabled.
void PrepareMainWindow(AppState& state);

// The font size the user typed, as a whole number; nothing for an empty, unreadable or
// unusable answer.
std::optional<int> FontSizeFrom(std::string_view answer);

// "Select Font Size": asks for the list font size and asks the window to refit the columns.
// Returns true when a new size was set; an unusable answer or Cancel changes nothing, silently.
bool ChooseListFontSize(AppState& state, Dialogs& dialogs);

// "HideGridLines": toggles the grid lines of the list.
void ToggleGridLines(RunOptions& state);

}  // namespace cadenzo
