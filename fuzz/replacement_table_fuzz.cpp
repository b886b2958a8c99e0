// SPDX-License-Identifier: GPL-3.0-or-later
// Parses any text as the style replacement table, applies it to a small list, and runs Auto
// Replace with the same text as the table file in the application folder.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/runtime_error.h"
#include "catalogue/replacement_table.h"
#include "fuzz_support.h"
#include "mfd/record.h"
#include "textio/text_file.h"

namespace {

cadenzo::RecordList SampleRows() {
  using namespace cadenzo;
  RecordList list;
  for (const char* style : {"Cool Beat", "Pop Rock", "USB:\\a.mid", "", "funk!", "Ballad 3"}) {
    Row row;
    row.SetCell(col::kNumber, "0001");
    row.SetCell(col::kStyle, style);
    list.Add(std::move(row));
  }
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace cadenzo;
  if (size > (1u << 18)) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  ReplacementTableParse parse = ParseReplacementTable(text);
  if (parse.error && parse.error->number != err::kInvalidCall &&
      parse.error->number != err::kDuplicateKey) {
    __builtin_trap();
  }
  RecordList list = SampleRows();
  const int replaced = ApplyReplacementTable(parse.table, list);
  if (replaced < 0 || static_cast<std::size_t>(replaced) > list.Size()) __builtin_trap();

  // Auto Replace reads the table from the application folder as a text file: a file that is no
  // text (UTF-16, zero bytes) or a bad table changes no row; otherwise it replaces what the
  // parse of the decoded text replaces.
  WriteFileAtomic(fuzz::ScratchFolder() + kReplacementTableFile, text);
  const TextFileContents decoded = DecodeTextFile(text, TextEncodings::kUtf8Lists);
  std::optional<ReplacementTableParse> fileParse;
  if (!decoded.problem) fileParse = ParseReplacementTable(decoded.text);
  const bool refused = !fileParse || fileParse->error.has_value();
  int fileReplaced = 0;
  if (!refused) {
    RecordList rows = SampleRows();
    fileReplaced = ApplyReplacementTable(fileParse->table, rows);
  }
  AppState state = fuzz::FreshState();
  state.List = SampleRows();
  fuzz::QuietDialogs dialogs;
  const AutoReplaceResult result = cboStyle_setup(state, dialogs);
  if (refused && (result.applied || dialogs.shown != 1)) __builtin_trap();
  if (!refused && result.replaced != fileReplaced) __builtin_trap();
  return 0;
}
