// SPDX-License-Identifier: GPL-3.0-or-later
#include "textio/delimited_export.h"

#include <filesystem>

#include "app/outcome.h"
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
      const std::string_view cell = row.Cell(c);
      const std::size_t start = text.size();
      text += cell;
      if (cell.find_first_of("\t\r\n") == std::string_view::npos) continue;
      for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == '\t' || text[i] == '\r' || text[i] == '\n') text[i] = ' ';
      }
      ++out.blankedFields;
    }
    text += kCrLf;
  }
  // The writer adds the last line break back.
  text.resize(text.size() - kCrLf.size());
  out.records = static_cast<int>(n);
  return out;
}

std::string DelimitedExportText(const RecordList& list) { return BuildDelimitedExport(list).text; }

std::string BlankedFieldsNote(int count) {
  return std::to_string(count) + (count == 1 ? " field holds" : " fields hold") +
         " a tab or a line break, which a delimited text cannot carry: each was written as a "
         "blank.";
}

SavedFile SaveDelimitedFile(AppState& state, Dialogs& dialogs, const std::string& text) {
  std::string written;
  std::string chosenPath;
  Outcome outcome = RunGuarded("SaveDelimitedFile", [&](Outcome& out) {
    FileRequest request{.filter = "Text file|*.txt", .defaultExtension = "txt"};
    if (!state.ExportFolder.empty()) {
      request.folder = state.ExportFolder;
    } else if (!state.ImportFolder.empty()) {
      request.folder = state.ImportFolder;
    }
    const auto chosen = dialogs.SaveFile(request);
    if (!chosen || chosen->empty()) {
      out.Fail(Problem::kCancelled, MessageRequest{});
      return;
    }
    const std::string& path = *chosen;
    state.ExportFolder = FolderOf(path);

    if (!ConfirmReplace(state, dialogs, path, Icon::kExclamation)) {
      out.Fail(Problem::kCancelled, MessageRequest{});
      return;
    }
    chosenPath = path;
    try {
      WriteFileAtomic(path, text + std::string(kCrLf), Flush::kToDisk,
                      [&](std::size_t done, std::size_t total) { dialogs.Progress(done, total); });
    } catch (const RuntimeError& e) {
      if (NoteWriteRefusal(out, e, path)) return;
      throw;
    }
    written = path;
  });
  if (outcome.problem == Problem::kUnexpected) {
    outcome.problem = Problem::kCannotWrite;
    outcome.file = chosenPath;
  }
  return {std::move(outcome), std::move(written)};
}

Outcome WriteTextFileContents(const std::string& path, const std::string& text) {
  Outcome outcome = RunGuarded("WriteTextFileContents", [&](Outcome& out) {
    try {
      WriteFileAtomic(path, text + std::string(kCrLf), Flush::kWriteBack);
    } catch (const RuntimeError& e) {
      if (!NoteWriteRefusal(out, e, path)) throw;
    }
  });
  if (!outcome.Ok()) {
    outcome.problem = Problem::kCannotWrite;
    outcome.file = path;
  }
  return outcome;
}

Outcome ExportDelimitedText(AppState& state, Dialogs& dialogs) {
  DelimitedExport text;
  Outcome outcome =
      RunGuarded("mnuTextFile", [&](Outcome&) { text = BuildDelimitedExport(state.List); });
  if (!outcome.Ok()) return outcome;
  SavedFile saved = SaveDelimitedFile(state, dialogs, text.text);
  if (!saved.path.empty()) {
    saved.outcome.Report("Exported " + Counted(text.records, "record") + " to " +
                         NamePartOf(saved.path));
  }
  if (!saved.path.empty() && text.blankedFields > 0) {
    saved.outcome.Say(
        MessageRequest{.text = BlankedFieldsNote(text.blankedFields), .icon = Icon::kInformation});
  }
  return std::move(saved.outcome);
}

}  // namespace cadenzo
