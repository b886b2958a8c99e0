#include "textio/delimited_export.h"

#include <filesystem>

#include "app/report_error.h"
#include "app/runtime_error.h"
#include "textio/file_identity.h"
#include "textio/text_file.h"

namespace cadenzo {

std::string DelimitedHeaderLine() {
  std::string line;
  for (std::size_t i = 0; i < kDelimitedHeader.size(); ++i) {
    if (i > 0) line += '\t';
    line += kDelimitedHeader[i];
  }
  return line;
}

std::string RunningNumberText(std::size_t n) { return " " + std::to_string(n); }

DelimitedExport BuildDelimitedExport(const RecordList& list) {
  DelimitedExport out;
  std::string& text = out.text;
  text = DelimitedHeaderLine();
  text += kCrLf;
  std::size_t n = 0;
  for (const Row& row : list) {
    // Deleted rows are not saved either: an import must not bring them back as empty records.
    if (row.deleted) continue;
    text += RunningNumberText(++n);
    for (int c = col::kGenre; c <= col::kNext; ++c) {
      text += '\t';
      const std::string& cell = row.Cell(c);
      const std::size_t start = text.size();
      text += cell;
      if (cell.find_first_of("\t\r\n") == std::string::npos) continue;
      for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == '\t' || text[i] == '\r' || text[i] == '\n') text[i] = ' ';
      }
      ++out.blankedFields;
    }
    text += kCrLf;
  }
  // The writer adds the last line break back.
  text.resize(text.size() - kCrLf.size());
  return out;
}

std::string DelimitedExportText(const RecordList& list) { return BuildDelimitedExport(list).text; }

std::string BlankedFieldsNote(int count) {
  return std::to_string(count) + (count == 1 ? " field holds" : " fields hold") +
         " a tab or a line break, which a delimited text cannot carry: each was written as a "
         "blank.";
}

std::string SaveDelimitedFile(AppState& state, Dialogs& dialogs, const std::string& text) {
  std::string written;
  RunReported(dialogs, "SaveDelimitedFile", [&] {
    FileRequest request{.filter = "Text file|*.txt", .defaultExtension = "txt"};
    if (!state.ExportFolder.empty()) {
      request.folder = state.ExportFolder;
    } else if (!state.ImportFolder.empty()) {
      request.folder = state.ImportFolder;
    }
    const auto chosen = dialogs.SaveFile(request);
    if (!chosen || chosen->empty()) return;
    const std::string& path = *chosen;
    state.ExportFolder = FolderOf(path);

    if (!ConfirmReplace(state, dialogs, path, Icon::kExclamation)) return;
    WriteFileAtomic(path, text + std::string(kCrLf));
    written = path;
  });
  return written;
}

bool WriteTextFileContents(Dialogs& dialogs, const std::string& path, const std::string& text) {
  return RunReported(dialogs, "WriteTextFileContents",
                     [&] { WriteFileAtomic(path, text + std::string(kCrLf), Flush::kWriteBack); });
}

void ExportDelimitedText(AppState& state, Dialogs& dialogs) {
  DelimitedExport text;
  if (!RunReported(dialogs, "mnuTextFile", [&] { text = BuildDelimitedExport(state.List); })) {
    return;
  }
  const std::string written = SaveDelimitedFile(state, dialogs, text.text);
  if (!written.empty() && text.blankedFields > 0) {
    dialogs.Message(
        MessageRequest{.text = BlankedFieldsNote(text.blankedFields), .icon = Icon::kInformation});
  }
}

}  // namespace cadenzo
