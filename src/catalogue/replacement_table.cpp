// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/replacement_table.h"

#include "app/paths.h"
#include "app/report_error.h"
#include "app/runtime_error.h"
#include "charset/cp1252.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

// The offending line as the error message quotes it; table lines are short, a runaway one is cut.
std::string QuotedLine(const std::string& line) {
  constexpr std::size_t kMaxShown = 100;
  return line.size() > kMaxShown ? line.substr(0, kMaxShown) + "..." : line;
}

}  // namespace

ReplacementTableParse ParseReplacementTable(std::string_view text) {
  ReplacementTableParse parse;
  for (auto& line : ParseStyleListLines(text)) {
    if (line.malformed) {
      parse.error = ReplacementTableError{err::kInvalidCall, std::move(line.entry.name)};
      break;
    }
    const std::string key = NormalizeStyleName(TrimBlanks(line.entry.name));
    if (!parse.table.entries.Add(key, line.entry.number)) {
      parse.error =
          ReplacementTableError{err::kDuplicateKey, line.entry.name + ";" + line.entry.number};
      break;
    }
  }
  return parse;
}

int ApplyReplacementTable(const ReplacementTable& table, RecordList& list) {
  int replaced = 0;
  for (Row& row : list) {
    const std::string_view style = row.Cell(col::kStyle);
    const std::string* newText = table.entries.Find(NormalizeStyleName(style));
    if (newText == nullptr || *newText == style) continue;
    row.SetCell(col::kStyle, *newText);
    ++replaced;
  }
  return replaced;
}

AutoReplaceResult cboStyle_setup(AppState& state, Dialogs& dialogs) {
  AutoReplaceResult result;
  RunReported(dialogs, "cboStyle_setup", [&] {
    // The whole table is read before the list is touched, so a bad table changes no row.
    const std::string path = FindStyleFile(StyleFoldersOf(state), kReplacementTableFile);
    const TextFileContents file =
        ReadTextFile(path, kMaxReplacementTableSize, TextEncodings::kUtf8Lists);
    if (file.problem) {
      dialogs.Message(MessageRequest{.text = "The style replacement table " + path +
                                             " cannot be read: it " + *file.problem +
                                             ". No style was replaced.",
                                     .icon = Icon::kExclamation});
      return;
    }
    ReplacementTableParse parse = ParseReplacementTable(file.text);
    if (parse.error) {
      throw RuntimeError(parse.error->number, ErrorDescription(parse.error->number) + " - " +
                                                  QuotedLine(parse.error->line));
    }
    if (parse.table.entries.Empty()) return;
    result.replaced = ApplyReplacementTable(parse.table, state.List);
    result.applied = true;
    // The new texts are what the next save converts, so they must not be lost unasked.
    if (result.replaced > 0) state.FileSaved = false;
  });
  return result;
}

}  // namespace cadenzo
