// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"
#include "rows/record_list.h"

namespace cadenzo {

// The three modes of the replace window (optStyle, optGenre, optKeyword).
enum class ReplaceMode { kStyle, kGenre, kKeyword };
// The keyword matching buttons: Option1 "Whole Keyword", Option2 "Characters".
enum class KeywordMatch { kWholeKeyword, kCharacters };

// The values SubReplaceStyle reads from the replace window.
struct StyleReplaceValues {
  ReplaceMode mode = ReplaceMode::kStyle;
  std::string currentStyle;             // lblCurrentStyle
  std::optional<ComboEntry> newStyle;   // the selected entry of cboStyle, with its style number
  std::string currentGenre;             // lblGenre
  std::optional<std::string> newGenre;  // the selected entry of cboGenre
  std::string currentKeyword;           // txtCurrentKeyword
  std::string newKeyword;               // txtKeyword
  KeywordMatch match = KeywordMatch::kWholeKeyword;
};

// What the replace window shows when it opens.
struct StyleReplaceSetup {
  Outcome outcome;                  // an error, for the window to show
  bool loaded = false;              // false: an error was recorded; the window shows what it has
  std::vector<ComboEntry> styles;   // cboStyle: the target's styles, none selected
  std::vector<std::string> genres;  // cboGenre, in ascending order of character codes
  int genreIndex = -1;              // the entry equal to lblGenre, or -1
  std::string currentStyle;         // lblCurrentStyle
  std::string currentGenre;         // lblGenre
  ReplaceMode mode = ReplaceMode::kStyle;
  KeywordMatch match = KeywordMatch::kWholeKeyword;
};

inline constexpr int kStyleReplaceDropHeight = 525;  // pixels

// cmdReplaceStyle and Edit Items > Replace > Item (mnuReplaceItem): succeeds when the replace
// window may open. Without a row selected since the file was opened it is refused with
// kSelectItemFirst. Clears EditStyleOrFile; the shell clears the editor's selected-file label.
Outcome PrepareStyleReplace(EditorDraft& state);

// The replace window's Form_Load: the target's styles, the genre list (sorted in place in
// GenreList up to its first empty entry) and the selected row's style and genre. Errors,
// including a bad line of the target's style list, are recorded under "Load StyleReplace".
StyleReplaceSetup LoadStyleReplace(AppState& state);

// A genre typed into cboGenre and left: added as a new entry unless present (or empty).
// Returns the position of the entry to select, or -1 for an empty text.
int AddTypedGenre(std::vector<std::string>& genres, const std::string& typed);

// The keyword text of one row after a keyword replacement, by the window's matching rule.
std::string ReplaceKeywordText(const std::string& keywords, const std::string& current,
                               const std::string& replacement, KeywordMatch match);

// "Replace All Entries" (cmdAllEntries): runs SubReplaceStyle when the mode has its new value
// (a style in style mode, a genre in genre mode). The value is true when it ran, so that the
// shell refreshes the list and fits its columns. Errors are recorded under
// "StyleReplaceAllEntries".
Result<bool> ReplaceInAllRecords(AppState& state, Dialogs& dialogs,
                                 const StyleReplaceValues& values);

// The replacement as the Edit menu names its undo step: "Replace Milonga by Tango".
std::string ReplacementStepName(const StyleReplaceValues& values);

// Replaces the value in every row and its record: both the cell and the record bytes change
// (texts cut at the field length in the record; the list keeps them whole). Then the file counts
// as changed and the preview pass runs. Errors are recorded under "SubReplaceStyle"; rows changed
// before an error stay changed. The status line says what was replaced by what, in how many
// records.
Outcome SubReplaceStyle(AppState& state, Dialogs& dialogs, const StyleReplaceValues& values);

}  // namespace cadenzo
