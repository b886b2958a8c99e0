// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"
#include "rows/record_list.h"

namespace cadenzo {

// The delimited text layout of the record list: one header line of twelve fields, then one line
// per row, fields separated by TAB, lines ending in CR LF. The blanks inside the header names are
// part of them; the import recognises the header by them.
inline constexpr std::array<std::string_view, 12> kDelimitedHeader = {
    "Number",   "Genre    ", "Music         ", "Style    ", "TimeSig", "Tempo",
    "Keywords", "Favorites", "Search 1",       "Search 2",  "Intro",   "Section"};

inline constexpr std::string_view kCrLf = "\r\n";

// The header line without its line break.
std::string DelimitedHeaderLine();

// A running number as the text files write it: decimal with one leading blank (" 1", " 10").
std::string RunningNumberText(std::size_t n);

// The export text of the list: the header and one line per row in display order, deleted rows
// left out, numbered 1 to n in that order. The final CR LF is left off: SaveDelimitedFile adds
// it. A TAB, CR or LF inside a field would break the layout: each is written as a blank, and
// blankedFields counts the fields that held one.
struct DelimitedExport {
  std::string text;
  int blankedFields = 0;
  int records = 0;  // the rows written (deleted rows are left out)
};
DelimitedExport BuildDelimitedExport(const RecordList& list);
std::string DelimitedExportText(const RecordList& list);  // BuildDelimitedExport's text

// What the export says when it wrote blanks in place of TAB, CR or LF (count > 0).
std::string BlankedFieldsNote(int count);

// Asks for a text file (starting in ExportFolder, else ImportFolder), remembers its folder in
// ExportFolder, asks before replacing an existing file and writes the text followed by CR LF,
// atomically. Errors are recorded under "SaveDelimitedFile". The path is empty when nothing was
// written.
SavedFile SaveDelimitedFile(AppState& state, Dialogs& dialogs, const std::string& text);

// Creates or replaces a log file with the text followed by CR LF, atomically. Errors are
// recorded under "WriteTextFileContents" as kCannotWrite with the path; nothing escapes.
Outcome WriteTextFileContents(const std::string& path, const std::string& text);

// File > Save As > Delimited Text File: the export text of the main list through
// SaveDelimitedFile; when a field's TAB, CR or LF was written as a blank, says how many fields
// after the file is written. Errors while building the text are recorded under "mnuTextFile".
Outcome ExportDelimitedText(AppState& state, Dialogs& dialogs);

}  // namespace cadenzo
