// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mfd/record.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

// What a row command asks of the main window once it is done.
enum class RowCommandResult {
  kNone,
  kFitColumns,  // fit the list columns to header and contents
  kModify,      // run the Modify command (cmdModify), as its button would
};

// One of the three record flags: its list column and its bit in the flags byte.
enum class RecordFlag { kFavorite, kSearch1, kSearch2 };
int FlagColumn(RecordFlag flag);
std::uint8_t FlagBit(RecordFlag flag);

// The list row the row commands act on: the highlighted row (a click or a search moved it
// there); nothing when no row is highlighted.
std::optional<std::size_t> SelectedRow(const Document& state);

// Offset in FileBytes of the record a row stands for (the value of its Number text). Throws
// RuntimeError 9 when the store holds no such record.
std::size_t RecordOffsetOfRow(const Document& state, const Row& row);

// A click on the row at this display position: captures its values (SelectedRecord,
// SelectedTempo, SelectedStyleText, the section codes, EditTimeSig), enables CmdDelete, cmdModify
// and cmdReplaceStyle, and fills the editor's and the replace window's fields. Errors are
// reported with "ListView_ItemClick".
Outcome SelectRow(AppState& state, std::size_t position);

// A double click on the selected row. Edit mode (mnuEditRecord) answers kModify; toggle mode
// (mnuToggleFavorite) flips the Favorite flag by the record's bit and answers kFitColumns when
// it became "Yes". Errors are reported with "ListView1_DblClick".
Result<RowCommandResult> RunDoubleClickAction(AppState& state);

// The pop-up menu mnuTrackMenu: flips one flag of the selected row by its cell text. Answers
// kFitColumns when the flag became "Yes".
Result<RowCommandResult> ToggleFlagOfSelected(AppState& state, RecordFlag flag);

// "Set (all)": every row's cell "Yes" and the bit in every record of the store (deleted rows
// included). Answers kFitColumns, or kNone after an error.
Result<RowCommandResult> SetFlagOnAll(AppState& state, RecordFlag flag);
// "Clear (all)": every row's cell "No" and the bit cleared in every record of the store.
Outcome ClearFlagOnAll(AppState& state, RecordFlag flag);

// "Checkbox Control (all)": check, uncheck or invert every row, and record how Del Chk'd and
// Play List stand afterwards. None of them marks the file changed.
Outcome CheckAll(Document& state);
Outcome UncheckAll(Document& state);
Outcome InvertChecks(Document& state);

// "Add Text to All Keywords": appends "," and the answer to every row's keywords and writes the
// first 32 characters into the record. Errors are reported with "mnuKeyword_Add".
Outcome AppendKeywordToAll(AppState& state, Dialogs& dialogs);
inline constexpr const char* kAddKeywordPrompt = "Enter text to be included with all keywords";
inline constexpr const char* kAddKeywordTitle = "Add Keyword to all entries";

// "Double Click Action": choosing an item checks it and unchecks the other.
void SetDoubleClickEdits(RunOptions& state);
void SetDoubleClickToggles(RunOptions& state);

}  // namespace cadenzo
