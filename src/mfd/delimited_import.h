// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

inline constexpr const char* kImportLogFile = "ImportLog.txt";
inline constexpr const char* kImportLogCaption = "Items not included due in last Import operation";
inline constexpr const char* kImportNeedsFile =
    "A music finder file must be loaded before you can append a text delimited file to it";
inline constexpr const char* kImportLineProblem =
    "There is a problem (e.g. extra carriage return) in this line ";
inline constexpr const char* kImportFilter = "Text Delimited Files(*.txt)|*.txt|";

// The most records an import fills the file to: the count of the header is read back as a 16-bit
// signed number elsewhere (the selected record), so the import stops before it would overflow.
inline constexpr int kMaxImportRecords = 32767;

// What one import did.
struct ImportResult {
  Outcome outcome;
  bool read = false;  // a file was chosen and its text read
  int imported = 0;   // records appended
  int leftOut = 0;    // lines whose style the source instrument lacks
  // The text was not read to its end: a line could not be read, the record count reached its
  // limit, the text holds no line, or an error was reported.
  bool stopped = false;
  bool logWritten = false;
  bool fitColumns = false;  // the shell fits the list columns (header and contents)
};

// The import of a delimited text into the open file: appends one record and one row per line
// whose style can be placed, logs the lines left out to ImportLog.txt in the user folder, and
// stops at a line that cannot be read, keeping what came before it. Lines end in CR LF, LF or
// CR; the last one needs no line end. The style of a line is, in this order: a media file (a
// ":" in it); no style (an empty field, as the export writes a record without one); a style of
// the source list (apostrophes, blanks and case aside); with user styles allowed, a number of
// digits up to 65279 (0 included) as that user style, or a name as the default style. Anything
// else is left out: a number above 65279, a text that begins like a number but is not one
// ("12abc", "-5"), a name when there is no default style on the target, and every user style
// when user styles are not allowed. Errors are recorded under "ImportTextDelimitedFile".
ImportResult ImportDelimitedText(AppState& state, Dialogs& dialogs, std::string_view text);

// The procedure behind the menu: needs an open file, asks for the text file (starting in
// ImportFolder, else ExportFolder), remembers its folder in ImportFolder and imports it. A text
// that begins with the UTF-8 byte-order mark is converted; UTF-16 or a file that is no text is
// refused with a message that says why.
ImportResult ChooseAndImportDelimitedFile(AppState& state, Dialogs& dialogs);

// File > Import Delimited Text File (mnuTextDelimitedInput): the import, then the open file
// counts as changed, whatever the import did.
ImportResult ImportDelimitedFile(AppState& state, Dialogs& dialogs);

// What the information window shows for View > Delimited File Load Log.
struct ImportLogDisplay {
  std::string path;                 // UserFolder + ImportLog.txt
  std::string caption;              // kImportLogCaption
  std::optional<std::string> text;  // the log as plain text; nothing when it cannot be loaded
  Outcome outcome;                  // what the window says when it cannot
};

// View > Delimited File Load Log (mnuDelimitedFile): the import log for the information window.
// When it cannot be loaded, the outcome says "Cannot find the Information File named
// ImportLog.txt" and there is no text.
ImportLogDisplay LoadImportLog(const RunOptions& state);

}  // namespace cadenzo
