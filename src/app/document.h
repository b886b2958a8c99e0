// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/undo_history.h"
#include "rows/record_list.h"

namespace cadenzo {

// How the check-mark commands stand where they do not simply follow the marks: the way the marks
// were reached counts, so the list commands record it here and CommandAvailability reads it.
struct CheckCommandRules {
  // Del Chk'd besides "enabled while a row is checked": on with no mark (the window's start,
  // Check All on an empty list), or off while rows stay checked (after Del Chk'd deleted rows and
  // left the ones it may not delete checked).
  enum class DeleteChecked { kFollowsMarks, kOnWithoutMarks, kOffWhileMarked };
  DeleteChecked deleteChecked = DeleteChecked::kOnWithoutMarks;
  // Play List stays enabled with no mark once marks were toggled or Check All ran, until
  // Uncheck, an Invert that leaves none, a Play List that found none, or a new file.
  bool playListWithoutMarks = true;
};

// The open Music Finder file: its image, its rows and what was read or derived from it.
struct Document {
  std::vector<std::uint8_t> FileBytes;
  std::string FileName;
  std::string SourceInstrument;
  std::string TargetInstrument;
  bool FileSaved = true;
  bool FileLoaded = false;
  std::vector<std::uint8_t> SaveBytes;
  std::vector<std::string> GenreList;
  std::int16_t SortColumn = 0;
  // Set by the processing pass when the conversion has notes for the user.
  bool ShowConversionNotes = false;

  // The source style list: number text (without leading zeros) to name, first of duplicates.
  // Kept as the reader built it; keys compare without regard to case (they are digits).
  std::unordered_map<std::string, std::string> SourceStyles;

  // The full path of the open Music Finder file, kept apart from the file dialog's last choice
  // so that re-reading always reads the Music Finder file.
  std::string CurrentFilePath;

  // The record list of the main window.
  RecordList List;
  CheckCommandRules CheckCommands;
  // Set once a file was opened: from then on the row commands wait for a row to be clicked.
  bool RowCommandsNeedSelection = false;
  // A row was clicked since the file was opened (Add selects its row without this).
  bool RowClicked = false;
  // The undo and redo of the commands that changed records or rows since the file was opened.
  UndoHistory History;
};

// Runs a command that may change records or rows and keeps what it changed as one undo step named
// `name` (nothing is kept when it changed nothing). Returns what the command returns.
template <typename Fn>
decltype(auto) RunUndoable(Document& doc, std::string name, Fn&& command) {
  const UndoHistory::Snapshot before = UndoHistory::Capture(doc);
  if constexpr (std::is_void_v<std::invoke_result_t<Fn>>) {
    std::forward<Fn>(command)();
    doc.History.Record(std::move(name), before, doc);
  } else {
    auto result = std::forward<Fn>(command)();
    doc.History.Record(std::move(name), before, doc);
    return result;
  }
}

}  // namespace cadenzo
