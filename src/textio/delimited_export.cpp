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

std::string DelimitedExportText(const RecordList& list) {
  std::string text = DelimitedHeaderLine();
  text += kCrLf;
  std::size_t n = 0;
  for (const Row& row : list) {
    // Deleted rows are not saved either: an import must not bring them back as empty records.
    if (row.deleted) continue;
    text += RunningNumberText(++n);
    for (int c = col::kGenre; c <= col::kNext; ++c) {
      text += '\t';
      text += row.Cell(c);
    }
    text += kCrLf;
  }
  // The writer adds the last line break back.
  text.resize(text.size() - kCrLf.size());
  return text;
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

void mnuTextFile_Click(AppState& state, Dialogs& dialogs) {
  std::string text;
  if (!RunReported(dialogs, "mnuTextFile", [&] { text = DelimitedExportText(state.List); })) {
    return;
  }
  SaveDelimitedFile(state, dialogs, text);
}

}  // namespace cadenzo
