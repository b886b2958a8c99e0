// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "catalogue/style_list.h"

namespace cadenzo {

// The file of the replacement table in the application folder.
inline constexpr const char* kReplacementTableFile = "StyleReplacementTable.txt";

// The table holds a few hundred short lines; a larger file is refused rather than read.
inline constexpr std::size_t kMaxReplacementTableSize = std::size_t{4} << 20;

// The replacement table: NormalizeStyleName(trimmed old text) -> new text exactly as written
// after the first ";" (blanks and further ";" included). Keys compare without regard to case.
struct ReplacementTable {
  KeyedCollection entries;
};

// A table that could not be read: the error number (457 for a duplicate key, 5 for a line
// without ";") and the offending line.
struct ReplacementTableError {
  int number = 0;
  std::string line;
};

struct ReplacementTableParse {
  ReplacementTable table;
  std::optional<ReplacementTableError> error;  // set: the table must not be applied
};

// Parses the table text with the style-list line rules (CR LF, LF or CR line ends, stop at the
// first empty line, "#" comments after leading blanks). Duplicates and lines without ";"
// are errors; the table read so far is returned with the error.
ReplacementTableParse ParseReplacementTable(std::string_view text);

// One pass over the rows: a row whose normalised "Style or File" text is a key shows the key's
// new text. A new text is not looked up again. Returns the number of rows changed.
int ApplyReplacementTable(const ReplacementTable& table, RecordList& list);

// What Auto Replace did; the list is to be shown again whatever happened.
struct AutoReplaceResult {
  bool applied = false;  // false: the table was missing, or an error was reported
  int replaced = 0;      // rows whose text changed
  bool refreshList = true;
};

// Edit Items > Replace > Auto Replace (mnuAutoReplace): reads the table (the user's styles
// folder's copy before the application folder's) and rewrites the "Style or File" cells. The
// records themselves are not touched and no preview runs; the file counts as changed when a row
// changed. Errors are reported with "cboStyle_setup" before any row changes; a table that cannot be
// read as text (UTF-16, not text, too large) is named with the reason, and no row changes.
AutoReplaceResult cboStyle_setup(AppState& state, Dialogs& dialogs);

}  // namespace cadenzo
