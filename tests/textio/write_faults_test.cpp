// SPDX-License-Identifier: GPL-3.0-or-later
// Every replacing write of a user's file or a log, with the disk failing under it: the old file
// stays byte for byte, no temporary file is left beside it, the person sees the message of the
// program's error table, and the file does not count as saved.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/runtime_error.h"
#include "mfd/delimited_import.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "playlist/play_list.h"
#include "playlist/play_list_export.h"
#include "support/app_fixture.h"
#include "support/shown.h"
#include "textio/delimited_export.h"
#include "textio/text_file.h"
#include "textio/write_calls.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;
using testing::AppFixture;
using testing::FileBuilder;
using testing::RecordBuilder;

enum class Call { kMakeTemp, kWrite, kFsync, kClose, kRename };

// The fault in force: the call that fails, with which error, and only for writes of the file
// named here (so that a log written along the way is not hit by a fault meant for the file).
struct Fault {
  Call call = Call::kWrite;
  int error = 0;
  bool removeFolder = false;  // the folder vanishes just before the temporary file is made
  std::string name;
  int fd = -1;  // the temporary file of the named file, once made
};
Fault gFault;

bool Named(const char* path) {
  const std::string text(path);
  return text.find("/" + gFault.name) != std::string::npos;
}

int FailingMakeTemp(char* pathTemplate, const char* target) {
  if (Named(target)) {
    if (gFault.removeFolder) fs::remove_all(fs::path(pathTemplate).parent_path());
    if (gFault.call == Call::kMakeTemp && gFault.error != 0) {
      errno = gFault.error;
      return -1;
    }
    const int fd = SystemWriteCalls().makeTemp(pathTemplate, target);
    gFault.fd = fd;
    return fd;
  }
  return SystemWriteCalls().makeTemp(pathTemplate, target);
}

ssize_t FailingWrite(int fd, const void* data, std::size_t size) {
  if (fd == gFault.fd && gFault.call == Call::kWrite) {
    // Part of the bytes reach the disk before it fills up.
    if (size > 1) SystemWriteCalls().write(fd, data, size / 2);
    errno = gFault.error;
    return -1;
  }
  return SystemWriteCalls().write(fd, data, size);
}

int FailingFsync(int fd) {
  if (fd == gFault.fd && gFault.call == Call::kFsync) {
    errno = gFault.error;
    return -1;
  }
  return SystemWriteCalls().fsync(fd);
}

int FailingClose(int fd) {
  const int result = SystemWriteCalls().close(fd);
  if (fd != gFault.fd) return result;
  gFault.fd = -1;  // the number may be given to the next file, which is not the named one
  if (gFault.call == Call::kClose) {
    errno = gFault.error;
    return -1;
  }
  return result;
}

int FailingRename(const char* from, const char* to) {
  if (Named(to) && gFault.call == Call::kRename) {
    errno = gFault.error;
    return -1;
  }
  return SystemWriteCalls().rename(from, to);
}

struct FaultCase {
  const char* label;
  Call call;
  int error;
  bool removeFolder;
  // "%s" stands for the error name of the writer, "%n" for the name of the file and "%f" for
  // its folder.
  const char* message;
};

constexpr const char* kLeftAsItWas =
    " Nothing was written; a file of that name was left as it was.";
const std::string kDiskFull = std::string("%n could not be saved: the disk holding %f is full.") +
                              kLeftAsItWas + " Free some space on it, or save to another disk.";
const std::string kReadOnly =
    std::string(
        "%n could not be saved: the file or its folder %f may not be written (it is "
        "read-only, or belongs to someone else).") +
    kLeftAsItWas + " Save under another name or in another folder.";

const FaultCase kFaults[] = {
    {"DiskFullWhileWriting", Call::kWrite, ENOSPC, false, kDiskFull.c_str()},
    {"QuotaAtFlush", Call::kFsync, EDQUOT, false, kDiskFull.c_str()},
    {"DiskErrorAtClose", Call::kClose, EIO, false, "Internal disk error."},
    {"FolderNotWritable", Call::kMakeTemp, EACCES, false, kReadOnly.c_str()},
    {"ReadOnlyMedia", Call::kMakeTemp, EROFS, false, kReadOnly.c_str()},
    {"RenameRefused", Call::kRename, EPERM, false, kReadOnly.c_str()},
    {"RenameAcrossDevices", Call::kRename, EXDEV, false, "Can't open your file"},
    {"FolderVanished", Call::kMakeTemp, 0, true, "That path doesn't exist."},
};

// One writer of the program: the file it replaces, the error name it reports under, and the
// command that writes it. The command runs with the fault in force.
struct Writer {
  const char* label;
  const char* errorName;
  bool flushes;  // the user's files are flushed to the disk; the logs are not
  std::function<std::string(AppFixture&)> prepare;  // gives the path to be replaced
  std::function<void(AppFixture&)> run;
};

void OpenSample(AppFixture& fx) {
  fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}, {"Pop Rock", "12"}});
  fx.PutFile("in.mfd", FileBuilder{.records = {RecordBuilder{.number = 0, .style = 291},
                                               RecordBuilder{.number = 1, .style = 12}}}
                           .Build());
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  ASSERT_TRUE(fx.state.FileLoaded);
  fx.state.FileSaved = false;
  fx.dialogs.messages.clear();
}

std::string Existing(AppFixture& fx, const std::string& name) {
  return fx.dir.Write("out/" + name, std::string("old contents\r\n")).string();
}

// A chosen file that exists: the replace question is answered with OK.
void ChooseExisting(AppFixture& fx, const std::string& path) {
  fx.dialogs.QueueFile(path);
  fx.dialogs.QueueAnswer(Answer::kOk);
}

const Writer kWriters[] = {
    {"SaveMfd", "SaveFile", true,
     [](AppFixture& fx) {
       OpenSample(fx);
       const std::string path = Existing(fx, "saved.mfd");
       ChooseExisting(fx, path);
       return path;
     },
     [](AppFixture& fx) {
       Presented(SaveMusicFinderx(fx.state, fx.dialogs, "PSR-S970", false, PassMode::kSave),
                 fx.dialogs);
     }},
    {"DelimitedExport", "SaveDelimitedFile", true,
     [](AppFixture& fx) {
       OpenSample(fx);
       const std::string path = Existing(fx, "list.txt");
       ChooseExisting(fx, path);
       return path;
     },
     [](AppFixture& fx) { Presented(ExportDelimitedText(fx.state, fx.dialogs), fx.dialogs); }},
    {"ExportLog", "WriteTextFileContents", false,
     [](AppFixture& fx) {
       OpenSample(fx);
       return fx.dir.Write("user/ExportLog.txt", std::string("old log\r\n")).string();
     },
     [](AppFixture& fx) {
       Presented(SaveMusicFinderx(fx.state, fx.dialogs, "PSR-S970", false, PassMode::kPreview),
                 fx.dialogs);
     }},
    {"ImportLog", "WriteTextFileContents", false,
     [](AppFixture& fx) {
       OpenSample(fx);
       fx.state.AllowUserStyles = false;
       return fx.dir.Write("user/ImportLog.txt", std::string("old log\r\n")).string();
     },
     [](AppFixture& fx) {
       // A style the source lacks is left out and logged.
       Presented(ImportDelimitedText(
                     fx.state, fx.dialogs,
                     " 1\tPop\tSong\tNo Such Style\t4/4\t120\tkw\tNo\tNo\tNo\tIntro 1\tMain A\r\n"),
                 fx.dialogs);
     }},
    {"PlayListText", "SaveDelimitedFile", true,
     [](AppFixture& fx) {
       const std::string path = Existing(fx, "play.txt");
       ChooseExisting(fx, path);
       return path;
     },
     [](AppFixture& fx) {
       Shown(ExportPlayListText(PlayList{}, fx.state, fx.dialogs), fx.dialogs);
     }},
    {"PlayListImportable", "SaveDelimitedFile", true,
     [](AppFixture& fx) {
       OpenSample(fx);
       const std::string path = Existing(fx, "play-import.txt");
       ChooseExisting(fx, path);
       return path;
     },
     [](AppFixture& fx) {
       Shown(ExportPlayListImportable(PlayList{}, fx.state, fx.dialogs), fx.dialogs);
     }},
};

std::set<std::string> Listing(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::string Expected(const FaultCase& fault, const Writer& writer, const fs::path& target) {
  std::string text = fault.message;
  for (const auto& [mark, value] : {std::pair<std::string, std::string>{"%s", writer.errorName},
                                    {"%n", target.filename().string()},
                                    {"%f", target.parent_path().string()}}) {
    const auto at = text.find(mark);
    if (at != std::string::npos) text.replace(at, 2, value);
  }
  return text;
}

void PrintTo(const FaultCase& fault, std::ostream* out) { *out << fault.label; }
void PrintTo(const Writer& writer, std::ostream* out) { *out << writer.label; }

class WriteFaults : public ::testing::TestWithParam<std::tuple<FaultCase, Writer>> {
 protected:
  void SetUp() override {
    WriteCalls() = FileWriteCalls{.makeTemp = FailingMakeTemp,
                                  .write = FailingWrite,
                                  .fsync = FailingFsync,
                                  .close = FailingClose,
                                  .rename = FailingRename};
  }
  void TearDown() override {
    WriteCalls() = SystemWriteCalls();
    gFault = Fault{};
  }
};

TEST_P(WriteFaults, KeepTheOldFileAndReportTheFailure) {
  const auto& [fault, writer] = GetParam();
  AppFixture fx;
  const fs::path target = writer.prepare(fx);
  ASSERT_FALSE(HasFailure());
  const fs::path folder = target.parent_path();
  const std::string before = testing::ReadText(target);
  const std::set<std::string> listing = Listing(folder);
  const bool savedBefore = fx.state.FileSaved;
  gFault = Fault{.call = fault.call,
                 .error = fault.error,
                 .removeFolder = fault.removeFolder,
                 .name = target.filename().string()};

  ASSERT_NO_THROW(writer.run(fx));

  const std::vector<std::string> texts = fx.dialogs.Texts();
  ASSERT_FALSE(texts.empty());
  const std::string expected = Expected(fault, writer, target);
  EXPECT_EQ(texts.back(), expected);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), expected), 1);
  EXPECT_EQ(fx.state.FileSaved, savedBefore);
  EXPECT_TRUE(fx.dialogs.AllAnswered());
  if (fault.removeFolder) {
    EXPECT_FALSE(fs::exists(folder));
  } else {
    EXPECT_EQ(testing::ReadText(target), before);
    EXPECT_EQ(Listing(folder), listing);
  }
}

// Every fault against every writer, but a failing flush only where the writer flushes: the logs
// are replaced without waiting for the disk.
std::vector<std::tuple<FaultCase, Writer>> EveryFaultOfEveryWriter() {
  std::vector<std::tuple<FaultCase, Writer>> cases;
  for (const FaultCase& fault : kFaults) {
    for (const Writer& writer : kWriters) {
      if (fault.call == Call::kFsync && !writer.flushes) continue;
      cases.emplace_back(fault, writer);
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriteFaults, ::testing::ValuesIn(EveryFaultOfEveryWriter()),
                         [](const ::testing::TestParamInfo<WriteFaults::ParamType>& info) {
                           return std::string(std::get<0>(info.param).label) + "_" +
                                  std::get<1>(info.param).label;
                         });

// Writes cut short by the system, and writes interrupted by a signal, are carried on.
ssize_t ShortWrite(int fd, const void* data, std::size_t size) {
  static int calls = 0;
  if (++calls % 2 == 0) {
    errno = EINTR;
    return -1;
  }
  return SystemWriteCalls().write(fd, data, size < 3 ? size : 3);
}

TEST(WriteFileAtomic, CarriesOnAfterShortAndInterruptedWrites) {
  testing::TempDir dir;
  const fs::path target = dir.Write("a.mfd", std::string("old"));
  FileWriteCalls calls = SystemWriteCalls();
  calls.write = ShortWrite;
  WriteCalls() = calls;
  const std::string text = "a longer text that takes many short writes\r\n";
  EXPECT_NO_THROW(WriteFileAtomic(target, text));
  WriteCalls() = SystemWriteCalls();
  EXPECT_EQ(testing::ReadText(target), text);
  EXPECT_EQ(Listing(dir.Path()), std::set<std::string>{"a.mfd"});
}

// A medium that takes no byte and reports no error fills no loop: it counts as full.
TEST(WriteFileAtomic, AWriteThatMakesNoProgressIsADiskFull) {
  testing::TempDir dir;
  const fs::path target = dir.Write("a.txt", std::string("old"));
  FileWriteCalls calls = SystemWriteCalls();
  calls.write = [](int, const void*, std::size_t) -> ssize_t { return 0; };
  WriteCalls() = calls;
  try {
    WriteFileAtomic(target, std::string_view("new text"));
    ADD_FAILURE() << "the write succeeded";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kDiskFull);
  }
  WriteCalls() = SystemWriteCalls();
  EXPECT_EQ(testing::ReadText(target), "old");
  EXPECT_EQ(Listing(dir.Path()), std::set<std::string>{"a.txt"});
}

// A successful save after a failed one replaces the file and marks it saved: a fault leaves
// nothing behind that stands in the way.
TEST(WriteFileAtomic, SavesNormallyAfterAFault) {
  AppFixture fx;
  OpenSample(fx);
  const std::string path = Existing(fx, "saved.mfd");
  WriteCalls() = FileWriteCalls{.makeTemp = FailingMakeTemp,
                                .write = FailingWrite,
                                .fsync = FailingFsync,
                                .close = FailingClose,
                                .rename = FailingRename};
  gFault = Fault{.call = Call::kWrite, .error = ENOSPC, .name = "saved.mfd"};
  ChooseExisting(fx, path);
  Presented(SaveMusicFinderx(fx.state, fx.dialogs, "PSR-S970", false, PassMode::kSave), fx.dialogs);
  EXPECT_FALSE(fx.state.FileSaved);
  WriteCalls() = SystemWriteCalls();
  gFault = Fault{};
  ChooseExisting(fx, path);
  Presented(SaveMusicFinderx(fx.state, fx.dialogs, "PSR-S970", false, PassMode::kSave), fx.dialogs);
  EXPECT_TRUE(fx.state.FileSaved);
  EXPECT_EQ(testing::ReadText(path),
            std::string(fx.state.SaveBytes.begin(), fx.state.SaveBytes.end()));
  EXPECT_EQ(Listing(fs::path(path).parent_path()), std::set<std::string>{"saved.mfd"});
}

}  // namespace
}  // namespace cadenzo
