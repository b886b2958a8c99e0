// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

// A field the search window offers (option button Option1, index 1 to 7): its caption, the list
// column it searches and the text it puts into txtFind.
struct SearchField {
  int index;
  std::string_view caption;
  int column;
  std::string_view preset;
};
const std::array<SearchField, 7>& SearchFields();

// The state of the search window frmSearch. The window owns it, so it lives exactly as long as
// the window: "Close" hides the window and keeps it, the close box unloads both.
struct SearchState {
  std::string txtFind;     // the text box as the user left it
  std::string SearchText;  // the text the last command read from txtFind
  int SearchPos = 0;       // row number (1-based) where the last search stopped
  int SearchColumn = 2;    // list column searched (Music)
  int fieldIndex = 1;      // the chosen Option1 (1 = "Music")
  bool wholeWord = false;  // OptMatchWord chosen (else optMatchContaining)
};

inline constexpr const char* kEnterSearchText = "please enter something to search for";

// Choosing a field option: sets SearchColumn and presets txtFind.
void ChooseSearchField(SearchState& search, int index);

// Whether a cell matches the search text. Containing: the trimmed cell contains the text, without
// regard to case. Whole Word: one of the cell's comma-separated words, trimmed, equals the text.
bool CellMatches(std::string_view cell, std::string_view text, bool wholeWord);
bool RowMatches(const Row& row, const SearchState& search);

// "Find First" and "Find Next": the display position of the next matching row, which becomes
// the highlighted row (not a click: the captured selection stays). Nothing when no row matches
// or the text is empty (then the message is shown). Errors are reported with "Find" and
// "FindAgain".
Result<std::optional<std::size_t>> FindFirst(AppState& state, SearchState& search);
Result<std::optional<std::size_t>> FindNext(AppState& state, SearchState& search);

// "Find and Check All": checks every matching row (rows checked before stay checked) and sets the
// checked-count label, cmdDeleteChecked and cmdPlayList. Returns false when it did not run (empty
// text) or failed. Errors are reported with "Check".
Result<bool> FindAndCheckAll(Document& state, SearchState& search);

inline constexpr const char* kDontAskAgainText = "Don't ask again during this run";

// The rows Filter List would mark deleted: those that neither match nor are checked (and that
// Delete Checked may delete).
std::size_t RowsFilterWouldDelete(const Document& state, const SearchState& search);
std::string FilterQuestion(std::size_t count);

// "Filter List": checks the matching rows, inverts all check marks and deletes the checked rows,
// so every row that neither matches nor was checked before is marked deleted. First it asks
// whether to (No is the default), with a box to stop asking for the rest of the run; No changes
// nothing and the outcome is kCancelled.
Outcome FilterList(AppState& state, SearchState& search, Dialogs& dialogs);

// "Open in PlayList", first step: checks the matching rows. True when the play-list command of
// the main window should run next.
Result<bool> OpenInPlayList(AppState& state, SearchState& search);

}  // namespace cadenzo
