// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/app_state.h"
#include "app/paths.h"
#include "app/startup.h"
#include "catalogue/instrument_table.h"
#include "charset/cp1252.h"
#include "cli/console_dialogs.h"
#include "cli/json_output.h"
#include "cli/options.h"
#include "list/duplicates.h"
#include "mfd/byte_io.h"
#include "mfd/delimited_import.h"
#include "mfd/merge.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "mfd/target_change.h"
#include "textio/delimited_export.h"
#include "textio/file_identity.h"
#include "textio/text_file.h"

namespace cadenzo::cli {
namespace {

constexpr const char* kUsage =
    "Usage: cadenzo-cli [--app-dir DIR] [--user-dir DIR] COMMAND ARGS\n"
    "\n"
    "Commands:\n"
    "  info FILE.mfd [--json]\n"
    "      Source instrument, record count, file-reference count, generation digit and the\n"
    "      capacity of the source model, one 'key: value' per line.\n"
    "  list FILE.mfd [--source MODEL] [--style-numbers] [-o OUT.txt | --json]\n"
    "      The rows as the main window shows them after opening the file, as tab-delimited\n"
    "      text (Windows-1252, CR LF), to OUT.txt or standard output.\n"
    "  export FILE.mfd -o OUT.txt [--source MODEL] [--style-numbers]\n"
    "      The delimited text of File > Save As > Delimited Text File for the freshly opened\n"
    "      file: the same text as list, which export differs from only by requiring -o.\n"
    "      A tab or line break inside a field is written as a blank; a note on standard\n"
    "      error says how many fields held one.\n"
    "  convert FILE.mfd... --target MODEL (-o OUT.mfd | -d OUTDIR) [--source MODEL]\n"
    "          [--no-user-styles] [--default-style NAME] [--over-capacity] [--log FILE]\n"
    "          [--dry-run] [--json]\n"
    "      Converts every record for the target model and writes OUT.mfd, with the conversion\n"
    "      log in FILE (default: ExportLog.txt in the user folder). With -d each input is\n"
    "      written to OUTDIR under its own file name, its log beside it as NAME.log.txt (or\n"
    "      all logs to the --log FILE, a section each); one file that fails does not stop\n"
    "      the others, and each gets a line of its own. --dry-run writes nothing: it says\n"
    "      what the conversion would do, and lists every record it changes or leaves out.\n"
    "  import FILE.mfd TEXT.txt -o OUT.mfd [--source MODEL] [--no-user-styles]\n"
    "          [--default-style NAME] [--over-capacity] [--log FILE]\n"
    "      Appends a record for every line of the delimited TEXT.txt (as export writes it)\n"
    "      as File > Import Delimited Text File does, then saves all records for the file's\n"
    "      own model to OUT.mfd. Lines whose style the source model lacks are left out when\n"
    "      user styles are not allowed, and listed in ImportLog.txt in the user folder. A\n"
    "      line that cannot be read stops the import, and nothing is written. A file whose\n"
    "      model is not recognised needs --source.\n"
    "  merge A.mfd B.mfd [C.mfd ...] -o OUT.mfd [--target MODEL] [--no-user-styles]\n"
    "          [--default-style NAME] [--over-capacity] [--log FILE]\n"
    "      Appends the records of B.mfd (then C.mfd, ...) to those of A.mfd as File > Merge\n"
    "      does: their styles are carried over by name to A's model, as a conversion carries\n"
    "      them. Then saves all records for A's model, or for MODEL, to OUT.mfd. A file that\n"
    "      cannot be read whole writes nothing.\n"
    "  dump FILE.mfd\n"
    "      An annotated hex dump of the header, the records and the file-reference block.\n"
    "  duplicates FILE.mfd [--song-only] [--json]\n"
    "      Every record that repeats an earlier one (same song name and style, without\n"
    "      regard to case or surrounding blanks), one line each: the running numbers in the\n"
    "      file of the repeat and of the record it repeats, the song and the style; then\n"
    "      the count.\n"
    "\n"
    "Options:\n"
    "  --app-dir DIR        folder of the style lists and other data files\n"
    "                       (default: the application folder)\n"
    "  --user-dir DIR       folder for the logs, made when missing (default: the user folder)\n"
    "  --source MODEL       the model that made the file, instead of the one detected\n"
    "  --style-numbers      show style numbers instead of names\n"
    "  --target MODEL       the model to convert for (a name as the target list shows it)\n"
    "  --no-user-styles     give styles the target lacks the default style; import leaves out\n"
    "                       the lines whose style the source model lacks\n"
    "  --default-style NAME the default style (\"None\" leaves such records out); import gives\n"
    "                       it to a named style the source model lacks, when user styles are\n"
    "                       allowed\n"
    "  --over-capacity      save even when the model holds fewer records\n"
    "  --song-only          duplicates: compare the song names only\n"
    "  --json               duplicates: one JSON document instead of the lines\n"
    "  --log FILE           where to write the conversion log of the save; its folder must\n"
    "                       exist (checked before anything is written); a device such as\n"
    "                       /dev/null takes it as a plain write would\n"
    "  -o FILE              the output file\n"
    "  -d OUTDIR            convert: the existing folder that takes every output; two inputs\n"
    "                       of the same file name are refused\n"
    "  --dry-run            convert: write nothing; print the summary and the records that\n"
    "                       change\n"
    "  --json               info, list, convert: one JSON document (UTF-8) on standard output\n"
    "  --help, --version\n"
    "\n"
    "Exit codes: 0 success, 1 file or data error (also when standard output or the log\n"
    "could not take everything written to it, and when any file of a batch failed), 2 usage\n"
    "error (also an output that is one of the command's own files: nothing is then written).\n";

constexpr const char* kShortUsage =
    "Usage: cadenzo-cli [--app-dir DIR] [--user-dir DIR]\n"
    "       info|list|export|convert|import|merge|dump|duplicates FILE.mfd ...\n"
    "Try 'cadenzo-cli --help'.\n";

// A failure that the command reports with the program's message and exit code 1. `said`: the
// person was already told why (the command's messages, or a question it answered No to).
struct DataError {
  std::string message;
  bool said = false;
};

// Prints what a command has to say; a command that failed ends the run with exit code 1.
void Require(const Outcome& outcome, Dialogs& dialogs) {
  Present(outcome, dialogs);
  if (outcome.Ok()) return;
  throw DataError{.said = !outcome.messages.empty() || outcome.problem == Problem::kCancelled};
}

std::string ExecutableFolder() {
  std::array<char, 4096> buffer{};
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return ".";
  return std::filesystem::path(std::string(buffer.data(), static_cast<std::size_t>(n)))
      .parent_path()
      .string();
}

void CheckModel(const std::string& model, const StyleFolders& folders) {
  if (FindInstrument(model) == nullptr) {
    throw DataError{"unknown model \"" + model +
                    "\"; the models are listed by 'cadenzo-cli --help'"
                    " and shown in the target list of the program"};
  }
  if (!HasStyleFile(folders, StyleListFileName(model))) {
    const std::string name = StyleListFileName(model);
    throw DataError{"the style list " + name + " is missing: " +
                    (folders.user.empty() ? folders.app + name + " does not exist"
                                          : "neither " + folders.user + name + " nor " +
                                                folders.app + name + " exists")};
  }
}

// Opens the file as the main window would, failing when the open does.
void OpenFile(AppState& state, ConsoleDialogs& dialogs, const Options& o) {
  state.CurrentFilePath = o.file;
  state.FileName = NamePartOf(o.file);
  if (!o.source.empty()) {
    CheckModel(o.source, StyleFoldersOf(state));
    state.SourceInstrument = o.source;
    state.KeepSourceInstrument = true;
  }
  state.AutoDetect = !o.styleNumbers;
  Require(OpenMusicFinderFile(state, dialogs), dialogs);
  if (!state.FileLoaded) throw DataError{};
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::ostringstream out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out << (i != 0 ? " " : "") << std::hex << std::setw(2) << std::setfill('0') << int{bytes[i]};
  }
  return out.str();
}

std::string Printable(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (auto b : bytes) text.push_back(b >= 32 && b < 127 ? static_cast<char>(b) : '.');
  return text;
}

// A stored path for the terminal: its letters as UTF-8, every control character (C0, DEL and
// the C1 controls the undefined bytes decode to) as \xNN, so that no escape sequence, carriage
// return or line break of a file reaches the terminal.
std::string VisiblePath(std::string_view path) {
  std::string text;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const char32_t code = Cp1252ToCodePoint(byte);
    if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
      std::array<char, 5> hex{};
      std::snprintf(hex.data(), hex.size(), "\\x%02x", byte);
      text += hex.data();
    } else {
      text += Cp1252ToUtf8(std::string_view(&c, 1));
    }
  }
  return text;
}

int Info(Document& state, const Options& o, std::ostream& out) {
  const auto& bytes = state.FileBytes;
  const auto model =
      DetectSourceInstrument(std::span(bytes).first(std::min<std::size_t>(32, bytes.size())));
  const int count = bytes.size() >= 36 ? HeaderCount(bytes) : 0;
  const int capacity = model ? RecordCapacity(*model) : 0;
  const std::size_t references = ReadFileReferenceBlock(bytes, count).size();
  const std::string generation =
      bytes.size() > 12 ? Printable(std::span(bytes).subspan(12, 1)) : "";
  if (o.json) {
    Json info;
    info["file"] = o.file;
    info["sourceInstrument"] = model ? Text(*model) : Json(nullptr);
    info["recordCount"] = count;
    info["fileReferences"] = references;
    info["generationDigit"] = generation;
    // null: the model is unknown; 0: the model holds any number of records.
    info["capacity"] = model ? Json(capacity) : Json(nullptr);
    out << JsonText(info);
    return 0;
  }
  out << "source instrument: " << (model ? *model : "unknown") << "\n"
      << "record count: " << count << "\n"
      << "file references: " << references << "\n"
      << "generation digit: " << generation << "\n"
      << "capacity: " << (model ? (capacity != 0 ? std::to_string(capacity) : "none") : "unknown")
      << "\n";
  return 0;
}

int Dump(Document& state, std::ostream& out) {
  const std::span<const std::uint8_t> bytes = state.FileBytes;
  const auto field = [&](std::size_t offset, std::size_t length) {
    return bytes.subspan(std::min(offset, bytes.size()),
                         std::min(length, bytes.size() - std::min(offset, bytes.size())));
  };
  out << "size " << bytes.size() << " bytes\n";
  out << "header\n";
  out << "  0000  start      " << Hex(field(0, 12)) << "  |" << Printable(field(0, 12)) << "|\n";
  out << "  000c  generation " << Hex(field(12, 1)) << "  |" << Printable(field(12, 1)) << "|\n";
  out << "  000d  start      " << Hex(field(13, 3)) << "\n";
  out << "  0010  model      " << Hex(field(16, 16)) << "  |" << Printable(field(16, 16)) << "|\n";
  out << "  0020  (copied)   " << Hex(field(32, 2)) << "\n";
  const int count = bytes.size() >= 36 ? HeaderCount(bytes) : 0;
  out << "  0022  count      " << Hex(field(34, 2)) << "  = " << count << "\n";
  out << "  0024  (copied)   " << Hex(field(36, 2)) << "\n";
  for (int i = 1; i <= count; ++i) {
    const std::size_t r = mfd::RecordOffset(static_cast<std::size_t>(i));
    if (r + mfd::kRecordSize > bytes.size()) {
      out << "record " << i << " at " << r << ": truncated, the file ends at " << bytes.size()
          << "\n";
      break;
    }
    out << "record " << i << " at 0x" << std::hex << r << std::dec << "\n"
        << "  +00 number   " << Hex(field(r, 2)) << "  = " << ReadU16(bytes, r) << "\n"
        << "  +02 style    " << Hex(field(r + 2, 2)) << "  = " << ReadU16(bytes, r + 2) << "\n"
        << "  +04 timesig  " << Hex(field(r + 4, 2)) << "  = \"" << DecodeTimeSig(bytes, r)
        << "\"\n"
        << "  +06 tempo    " << Hex(field(r + 6, 2)) << "  = \"" << DecodeTempo(bytes, r) << "\"\n"
        << "  +08 flags    " << Hex(field(r + 8, 1)) << "\n"
        << "  +09 music    " << Hex(field(r + 9, 32)) << "\n               |"
        << Printable(field(r + 9, 32)) << "|\n"
        << "  +41 genre    " << Hex(field(r + 41, 16)) << "  |" << Printable(field(r + 41, 16))
        << "|\n"
        << "  +57 keywords " << Hex(field(r + 57, 32)) << "\n               |"
        << Printable(field(r + 57, 32)) << "|\n"
        << "  +89 sections " << Hex(field(r + 89, 1)) << "  = " << DecodeIntro(bytes, r) << " / "
        << DecodeNextSection(bytes, r) << "\n"
        << "  +90 (copied) " << Hex(field(r + 90, 2)) << "\n";
  }
  const auto refs = ReadFileReferenceBlock(bytes, count);
  out << "file references: " << refs.size() << "\n";
  for (const auto& ref : refs) {
    out << "  chunk at 0x" << std::hex << ref.offset << std::dec << ": position " << ref.position
        << ", type " << ref.type << ", path \"" << VisiblePath(ref.path) << "\"\n";
  }
  return 0;
}

// The conversion options of the Options menu and the Save As Options window. A default style the
// target's list lacks is refused before anything is written.
void ApplySaveOptions(RunOptions& state, const Options& o, const std::string& target) {
  if (o.noUserStyles) state.AllowUserStyles = false;
  if (o.hasDefaultStyle) {
    if (!DefaultStyleOnTarget(StyleFoldersOf(state), target, o.defaultStyle)) {
      throw DataError{"the default style \"" + o.defaultStyle + "\" is not on the style list of " +
                      target + "; nothing was written"};
    }
    state.DefaultStyle = o.defaultStyle;
  }
}

// A user folder named on the command line is created when it is missing, as the default user
// folder is.
std::string MakeUserFolder(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder)) {
    throw DataError{"cannot create the user folder " + folder +
                    (ec ? ": " + ec.message() : std::string())};
  }
  return WithTrailingSlash(folder);
}

// The log named by --log, checked before anything is written: its folder must exist and it
// must not be a folder. A device or a pipe (such as /dev/null) takes the log as a plain write
// would: the save writes it to a private file, which is then copied there.
class LogTarget {
 public:
  explicit LogTarget(const std::string& path) : path_(path) {
    namespace fs = std::filesystem;
    const fs::path log(path);
    const fs::path folder = log.has_parent_path() ? log.parent_path() : fs::path(".");
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
      throw DataError{"the folder of the log " + path + " does not exist; nothing was written"};
    }
    const auto status = fs::status(log, ec);
    if (fs::is_directory(status)) {
      throw DataError{"the log " + path + " is a folder; nothing was written"};
    }
    if (!fs::is_character_file(status) && !fs::is_fifo(status)) return;
    std::string tmpl = (fs::temp_directory_path(ec) / "cadenzo-log-XXXXXX").string();
    if (ec || ::mkdtemp(tmpl.data()) == nullptr) {
      throw DataError{"cannot make a temporary folder for the log: " +
                      std::string(std::strerror(errno))};
    }
    scratch_ = tmpl;
  }
  LogTarget(const LogTarget&) = delete;
  LogTarget& operator=(const LogTarget&) = delete;
  ~LogTarget() {
    if (scratch_.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(scratch_, ec);
  }

  // Where the save writes the log.
  std::string SavePath() const { return scratch_.empty() ? path_ : scratch_ + "/ExportLog.txt"; }

  // Copies the log the save wrote to the device; every write is checked.
  void Deliver() const {
    if (scratch_.empty()) return;
    const Bytes log = ReadFileBytes(SavePath());
    const int fd = ::open(path_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    for (std::size_t done = 0; error == 0 && done < log.size();) {
      const ssize_t n = ::write(fd, log.data() + done, log.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = n < 0 ? errno : ENOSPC;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    if (fd >= 0 && ::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
    if (error != 0) {
      throw DataError{"cannot write the log " + path_ + ": " +
                      (error == ENOSPC ? std::string("Disk is full.") : std::strerror(error))};
    }
  }

 private:
  std::string path_;
  std::string scratch_;  // the private folder of a log that goes to a device
};

// Save As > All Records for the target, to the output file; fails when the save does.
PassResult SaveRecords(AppState& state, ConsoleDialogs& dialogs, const Options& o,
                       const std::string& target, const LogTarget* log) {
  dialogs.SetSavePath(o.output);
  dialogs.SetAcceptOverCapacity(o.overCapacity);
  PassResult result = SaveMusicFinderx(state, dialogs, target, false, PassMode::kSave);
  Require(result.outcome, dialogs);
  if (!result.saved) throw DataError{};
  if (log != nullptr) log->Deliver();
  return result;
}

std::string SaveLine(const PassResult& result) {
  return "read " + std::to_string(result.recordsRead) + ", written " +
         std::to_string(result.written) + ", default style " + std::to_string(result.givenDefault) +
         ", dropped " + std::to_string(result.dropped) + ", media references " +
         std::to_string(result.mediaReferences);
}

int SaveAllRecords(AppState& state, ConsoleDialogs& dialogs, const Options& o,
                   const std::string& target, const LogTarget* log, std::ostream& out) {
  out << SaveLine(SaveRecords(state, dialogs, o, target, log)) << "\n";
  return 0;
}

// What became of one input of a convert.
struct FileReport {
  std::string input, output, log;
  bool ok = false;
  std::string error;               // why it failed, when the command says it
  std::optional<DryRun> dryRun;    // the plan, when one was made
  std::optional<PassResult> pass;  // the save, when it ran
};

// The file opened for the target as the save would take it: a NetCommon file asks for a target
// when it is opened, and --target is the answer.
void OpenForTarget(AppState& state, ConsoleDialogs& dialogs, const Options& o) {
  OpenFile(state, dialogs, o);
  Require(ChooseTarget(state, dialogs, o.target), dialogs);  // the target's style list is readable
  ApplySaveOptions(state, o, o.target);
}

// Converts one input (o.file to o.output), or plans it with --dry-run. report.error holds the
// reason of a failure; what the command says goes to standard error as ever.
void ConvertOne(AppState& state, ConsoleDialogs& dialogs, const Options& o, const LogTarget* log,
                FileReport& report, std::ostream& err) {
  try {
    if (log != nullptr) state.ExportLogPath = log->SavePath();
    OpenForTarget(state, dialogs, o);
    report.dryRun = PlanDryRun(state, o.target, false);
    if (o.dryRun) {
      // A file that the save would stop at fails here as it would there.
      report.ok = !report.dryRun->plan.error;
      if (!report.ok) {
        report.error = report.dryRun->summary;
        err << "cadenzo-cli: " << o.file << ": " << report.error << "\n";
      }
      return;
    }
    report.pass = SaveRecords(state, dialogs, o, o.target, log);
    report.ok = true;
  } catch (const DataError& e) {
    report.error = e.message;
    if (!e.message.empty()) err << "cadenzo-cli: " << e.message << "\n";
    if (e.message.empty() && !e.said) err << "cadenzo-cli: failed\n";
  } catch (const std::exception& e) {
    report.error = e.what();
    err << "cadenzo-cli: " << e.what() << "\n";
  }
}

// File > Import Delimited Text File into the freshly opened file, then the save for the file's
// own model. The messages of the import (lines left out, an unreadable time signature) are
// shown and the save goes on; an import that stops writes nothing.
int Import(AppState& state, ConsoleDialogs& dialogs, const Options& o, const LogTarget* log,
           std::ostream& out) {
  if (log != nullptr) state.ExportLogPath = log->SavePath();
  OpenFile(state, dialogs, o);
  if (FindInstrument(state.SourceInstrument) == nullptr) {
    throw DataError{"the model that made " + o.file +
                    " is not recognised; name it with --source MODEL"};
  }
  CheckModel(state.SourceInstrument, StyleFoldersOf(state));
  ApplySaveOptions(state, o, state.SourceInstrument);
  dialogs.SetOpenPath(o.text);
  const ImportResult imported = ImportDelimitedFile(state, dialogs);
  Present(imported.outcome, dialogs);  // lines left out and the like: the save goes on
  // Without its log the lines left out would go unrecorded.
  if (!imported.read || imported.stopped || (imported.leftOut > 0 && !imported.logWritten)) {
    throw DataError{"nothing was written to " + o.output};
  }
  out << "imported " << imported.imported << ", left out " << imported.leftOut << "\n";
  return SaveAllRecords(state, dialogs, o, state.SourceInstrument, log, out);
}

int ListRows(AppState& state, ConsoleDialogs& dialogs, const Options& o, std::ostream& out,
             std::ostream& err);
int Duplicates(AppState& state, ConsoleDialogs& dialogs, const Options& o, std::ostream& out);

// File > Merge of each further file into the first, in order, then the save for the first file's
// model or for --target. Any file that cannot be merged whole writes nothing.
int Merge(AppState& state, ConsoleDialogs& dialogs, const Options& o, const LogTarget* log,
          std::ostream& out) {
  if (log != nullptr) state.ExportLogPath = log->SavePath();
  if (!o.target.empty()) CheckModel(o.target, StyleFoldersOf(state));
  OpenFile(state, dialogs, o);
  if (FindInstrument(state.SourceInstrument) == nullptr) {
    throw DataError{"the model that made " + o.file + " is not recognised"};
  }
  CheckModel(state.SourceInstrument, StyleFoldersOf(state));
  ApplySaveOptions(state, o, state.SourceInstrument);
  dialogs.SetAcceptOverCapacity(o.overCapacity);
  for (const std::string& path : o.moreFiles) {
    const MergeResult merged = MergeMusicFinderFile(state, dialogs, path);
    Require(merged.outcome, dialogs);
    out << "merged " << merged.merged << " from " << path << ", left out " << merged.leftOut
        << "\n";
  }
  const std::string target = o.target.empty() ? state.SourceInstrument : o.target;
  if (!o.target.empty()) {
    Require(ChooseTarget(state, dialogs, target), dialogs);
    ApplySaveOptions(state, o, target);
  }
  return SaveAllRecords(state, dialogs, o, target, log, out);
}

// Why the command would write over one of its own files: an output that is one of its inputs or
// another output (the same file by device and inode, or by resolved path for a file still to be
// made). Devices such as /dev/null are no files of the user's and are left out.
std::optional<std::string> SameFileClash(const Options& o, const RunOptions& state) {
  struct NamedFile {
    std::string role, path;
    bool written;
  };
  std::vector<NamedFile> files = {{"FILE.mfd", o.file, false}};
  for (const std::string& more : o.moreFiles) files.push_back({"FILE.mfd", more, false});
  if (!o.text.empty()) files.push_back({"TEXT.txt", o.text, false});
  if (!o.output.empty()) files.push_back({"-o", o.output, true});
  if (o.command == "convert" || o.command == "import" || o.command == "merge") {
    files.push_back(o.log.empty()
                        ? NamedFile{"the export log", state.UserFolder + "ExportLog.txt", true}
                        : NamedFile{"--log", o.log, true});
  }
  if (o.command == "import") {
    files.push_back({"the import log", state.UserFolder + kImportLogFile, true});
  }
  std::erase_if(files, [](const NamedFile& f) {
    std::error_code ec;
    const auto status = std::filesystem::status(f.path, ec);
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
  });
  for (std::size_t i = 0; i < files.size(); ++i) {
    for (std::size_t j = i + 1; j < files.size(); ++j) {
      if ((files[i].written || files[j].written) && SameFile(files[i].path, files[j].path)) {
        return files[i].role + " and " + files[j].role + " are the same file, " + files[j].path +
               "; nothing was written";
      }
    }
  }
  return std::nullopt;
}

// A private folder for the logs of a batch that go to one --log file, removed at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code ec;
    std::string tmpl = (std::filesystem::temp_directory_path(ec) / "cadenzo-logs-XXXXXX").string();
    if (ec || ::mkdtemp(tmpl.data()) == nullptr) {
      throw DataError{"cannot make a temporary folder for the logs: " +
                      std::string(std::strerror(errno))};
    }
    path_ = tmpl;
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The outputs of a convert: -o for one input; with -d each input under its own file name in
// OUTDIR, its log beside it (NAME.log.txt) unless --log takes them all.
std::vector<FileReport> PlanOutputs(const Options& o) {
  std::vector<std::string> inputs = {o.file};
  inputs.insert(inputs.end(), o.moreFiles.begin(), o.moreFiles.end());
  std::vector<FileReport> reports;
  for (const std::string& input : inputs) {
    FileReport report{.input = input, .output = o.output, .log = o.log};
    if (!o.outDir.empty()) {
      const std::filesystem::path name = std::filesystem::path(input).filename();
      report.output = (std::filesystem::path(o.outDir) / name).string();
      if (o.log.empty()) {
        report.log = (std::filesystem::path(o.outDir) / name.stem()).string() + ".log.txt";
      }
    }
    reports.push_back(std::move(report));
  }
  return reports;
}

// Why a convert would write over one of its own files, checked for every input before anything
// is written: each output and log against its input (SameFileClash) and against the other inputs.
std::optional<std::string> BatchClash(const Options& o, const std::vector<FileReport>& reports,
                                      const RunOptions& state) {
  for (const FileReport& report : reports) {
    Options one = o;
    one.file = report.input;
    one.output = report.output;
    one.log = report.log;
    if (auto clash = SameFileClash(one, state)) return clash;
    for (const FileReport& other : reports) {
      if (&other == &report) continue;
      for (const std::string& written : {report.output, report.log}) {
        if (!written.empty() && SameFile(written, other.input)) {
          return "the output " + written + " is the input " + other.input + "; nothing was written";
        }
      }
    }
  }
  return std::nullopt;
}

// The JSON of one input of a convert.
Json ReportJson(const FileReport& report) {
  Json file;
  file["file"] = report.input;
  if (!report.output.empty()) file["output"] = report.output;
  if (!report.log.empty()) file["log"] = report.log;
  file["ok"] = report.ok;
  if (!report.ok) file["error"] = Text(report.error);
  if (report.dryRun) {
    file["summary"] = Text(report.dryRun->summary);
    file.update(PlanFigures(report.dryRun->plan));
    if (report.pass) file["written"] = report.pass->written;
    file["changes"] = ChangesJson(report.dryRun->changes);
  }
  return file;
}

// convert: every input in turn, each in a fresh state; one that fails does not stop the others.
// Exit code 1 when any failed.
int ConvertFiles(const Options& o, const RunOptions& folders, const LogTarget* log,
                 ConsoleDialogs& dialogs, std::ostream& out, std::ostream& err) {
  const bool batch = !o.outDir.empty() || !o.moreFiles.empty();
  std::vector<FileReport> reports = PlanOutputs(o);
  if (!o.dryRun) {
    if (const auto clash = BatchClash(o, reports, folders)) {
      err << "cadenzo-cli: " << *clash << "\n";
      return 2;
    }
  }
  CheckModel(o.target, StyleFoldersOf(folders));
  if (!o.dryRun && !o.outDir.empty() && !std::filesystem::is_directory(o.outDir)) {
    throw DataError{"the output folder " + o.outDir + " does not exist; nothing was written"};
  }
  // With -d and --log the logs of the files go to a private folder first, then to --log with a
  // section each.
  std::optional<ScratchFolder> scratch;
  if (batch && !o.dryRun && log != nullptr) scratch.emplace();
  std::string joinedLog;
  int failed = 0;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    FileReport& report = reports[i];
    AppState state;
    ResetStartState(state);
    state.AppPath = folders.AppPath;
    state.UserFolder = folders.UserFolder;
    state.SkipPreview = true;  // nothing shows the rows' colours
    Options one = o;
    one.file = report.input;
    one.output = report.output;
    std::optional<LogTarget> fileLog;
    const LogTarget* logTarget = log;
    const std::string scratchLog =
        scratch ? scratch->Path() + "/" + std::to_string(i) + ".txt" : std::string();
    if (scratch) {
      state.ExportLogPath = scratchLog;
      logTarget = nullptr;
    } else if (!o.outDir.empty() && !o.dryRun) {
      fileLog.emplace(report.log);
      logTarget = &*fileLog;
    }
    if (!o.dryRun && std::filesystem::is_directory(report.output)) {
      report.error = report.output + " is a folder";
      err << "cadenzo-cli: " << report.error << "\n";
    } else {
      ConvertOne(state, dialogs, one, logTarget, report, err);
    }
    if (scratch && std::filesystem::exists(scratchLog)) {
      const Bytes text = ReadFileBytes(scratchLog);
      joinedLog +=
          "---- " + report.input + " ----\r\n" + std::string(text.begin(), text.end()) + "\r\n";
    }
    if (!report.ok) ++failed;
    if (o.json) continue;
    const std::string prefix = batch ? report.input + ": " : std::string();
    if (o.dryRun && report.ok) {
      out << prefix << VisiblePath(report.dryRun->summary) << "\n";
      for (const PlanChange& change : report.dryRun->changes) {
        out << (batch ? "  " : "") << VisiblePath(ChangeLine(change)) << "\n";
      }
    } else if (report.ok) {
      out << prefix << SaveLine(*report.pass) << (batch ? " -> " + report.output : "") << "\n";
    } else if (batch) {
      out << prefix << "not converted" << (report.error.empty() ? "" : ": " + report.error) << "\n";
    }
  }
  if (scratch) {
    WriteFileAtomic(log->SavePath(), joinedLog, Flush::kWriteBack);
    log->Deliver();
  }
  if (o.json) {
    Json document;
    document["target"] = Text(o.target);
    document["dryRun"] = o.dryRun;
    document["files"] = Json::array();
    for (const FileReport& report : reports) document["files"].push_back(ReportJson(report));
    document["failed"] = failed;
    out << JsonText(document);
  }
  return failed > 0 ? 1 : 0;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    out << kUsage;
    return 0;
  }
  if (std::find(args.begin(), args.end(), "--version") != args.end()) {
    out << "cadenzo-cli " << CADENZO_VERSION << "\n";
    return 0;
  }
  Options o;
  try {
    o = Parse(args);
  } catch (const UsageError& e) {
    err << "cadenzo-cli: " << e.message << "\n" << kShortUsage;
    return 2;
  }
  ConsoleDialogs dialogs(err);
  try {
    std::optional<LogTarget> log;
    if (!o.log.empty()) log.emplace(o.log);  // before anything is written
    AppState state;
    ResetStartState(state);
    const std::string exeFolder = ExecutableFolder();
    state.AppPath = o.appDir.empty() ? GetAppPath(exeFolder) : WithTrailingSlash(o.appDir);
    state.UserFolder = o.userDir.empty()
                           ? GetUserFolder(DefaultUserDataFolder(), "Cadenzo", exeFolder, dialogs)
                           : MakeUserFolder(o.userDir);
    if (o.command == "convert")
      return ConvertFiles(o, state, log ? &*log : nullptr, dialogs, out, err);
    if (const auto clash = SameFileClash(o, state)) {
      err << "cadenzo-cli: " << *clash << "\n";
      return 2;
    }
    if (o.command == "info" || o.command == "dump") {
      Require(LoadFileBytes(state, o.file), dialogs);
      return o.command == "info" ? Info(state, o, out) : Dump(state, out);
    }
    if (!o.output.empty() && std::filesystem::is_directory(o.output)) {
      throw DataError{o.output + " is a folder"};
    }
    // Nothing shows the rows' colours, and only a save writes a conversion log.
    state.SkipPreview = true;
    const LogTarget* logTarget = log ? &*log : nullptr;
    if (o.command == "import") return Import(state, dialogs, o, logTarget, out);
    if (o.command == "merge") return Merge(state, dialogs, o, logTarget, out);
    if (o.command == "duplicates") return Duplicates(state, dialogs, o, out);
    return ListRows(state, dialogs, o, out, err);
  } catch (const DataError& e) {
    if (!e.message.empty()) err << "cadenzo-cli: " << e.message << "\n";
    if (e.message.empty() && !e.said) err << "cadenzo-cli: failed\n";
    return 1;
  } catch (const std::exception& e) {
    err << "cadenzo-cli: " << e.what() << "\n";
    return 1;
  }
}

namespace {

// list and export: the delimited text of the freshly opened file. To a file it goes through
// File > Save As > Delimited Text File; to standard output as that command would write it. The
// note on fields written with blanks goes to standard error, and is no failure.
int ListRows(AppState& state, ConsoleDialogs& dialogs, const Options& o, std::ostream& out,
             std::ostream& err) {
  OpenFile(state, dialogs, o);
  const DelimitedExport text = BuildDelimitedExport(state.List);
  if (o.json) {
    Json list;
    list["file"] = o.file;
    list["sourceInstrument"] = Text(state.SourceInstrument);
    const Json rows = RowsJson(text.text);
    list["recordCount"] = rows.size();
    list["rows"] = rows;
    out << JsonText(list);
  } else if (o.output.empty()) {
    out << text.text << kCrLf;
  } else {
    dialogs.SetSavePath(o.output);
    Require(SaveDelimitedFile(state, dialogs, text.text).outcome, dialogs);
  }
  if (text.blankedFields > 0)
    err << "cadenzo-cli: " << BlankedFieldsNote(text.blankedFields) << "\n";
  return 0;
}

// duplicates: the repeats of the freshly opened file, as Actions > Find Duplicates checks them.
int Duplicates(AppState& state, ConsoleDialogs& dialogs, const Options& o, std::ostream& out) {
  OpenFile(state, dialogs, o);
  const auto repeats = ListDuplicates(state.List, DuplicateOptions{.songOnly = o.songOnly});
  const auto cell = [&](std::uint32_t row, int column) {
    return Cp1252ToUtf8(TrimBlanks(state.List[row].Cell(column)));
  };
  if (o.json) {
    auto list = nlohmann::json::array();
    for (const Duplicate& d : repeats) {
      list.push_back({{"kept", d.keptNumber},
                      {"repeat", d.repeatNumber},
                      {"song", cell(d.repeatRow, col::kMusic)},
                      {"style", cell(d.repeatRow, col::kStyle)}});
    }
    const nlohmann::json document = {{"file", o.file},
                                     {"songOnly", o.songOnly},
                                     {"count", repeats.size()},
                                     {"duplicates", std::move(list)}};
    // A file name that is not UTF-8 is written with replacement characters.
    out << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    return 0;
  }
  for (const Duplicate& d : repeats) {
    out << d.repeatNumber << " repeats " << d.keptNumber << ": " << cell(d.repeatRow, col::kMusic)
        << " / " << cell(d.repeatRow, col::kStyle) << "\n";
  }
  out << repeats.size() << (repeats.size() == 1 ? " duplicate" : " duplicates") << "\n";
  return 0;
}

}  // namespace

}  // namespace cadenzo::cli
