// SPDX-License-Identifier: GPL-3.0-or-later
// Saves that respect the user's files: the file that is open is replaced only after its own
// question, a killed save's temporary files are cleared by the next save without touching those of
// saves still running, long names save, and symbolic links are written through whether or not
// their file exists yet.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/runtime_error.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "support/app_fixture.h"
#include "textio/delimited_export.h"
#include "textio/text_file.h"
#include "textio/write_calls.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;
using testing::AppFixture;
using testing::FileBuilder;
using testing::ReadText;
using testing::RecordBuilder;
using testing::TempDir;

std::set<std::string> Listing(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

const std::string kOld = "the user's own bytes\r\n";

// ---- Save As onto the file that is open -------------------------------------------------------

std::string OpenSample(AppFixture& fx) {
  fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}, {"Pop Rock", "12"}});
  const std::string path =
      fx.PutFile("mine.mfd", FileBuilder{.records = {RecordBuilder{.number = 0, .style = 291},
                                                     RecordBuilder{.number = 1, .style = 12}}}
                                 .Build());
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_TRUE(fx.state.FileLoaded);
  fx.dialogs.messages.clear();
  return path;
}

struct OpenFileCase {
  const char* label;
  bool throughLink;      // the name chosen is a symbolic link to the open file
  bool delimitedExport;  // Save As > Delimited Text File instead of the Music Finder file
  Answer answer;
};

void PrintTo(const OpenFileCase& c, std::ostream* out) { *out << c.label; }

class SaveOntoTheOpenFile : public ::testing::TestWithParam<OpenFileCase> {};

TEST_P(SaveOntoTheOpenFile, AsksItsOwnQuestionAndReplacesOnlyOnOk) {
  const OpenFileCase& c = GetParam();
  AppFixture fx;
  const std::string open = OpenSample(fx);
  const std::string before = ReadText(open);
  std::string chosen = open;
  if (c.throughLink) {
    chosen = fx.dir.Str() + "elsewhere.mfd";
    fs::create_symlink(open, chosen);
  }
  fx.dialogs.QueueFile(chosen);
  fx.dialogs.QueueAnswer(c.answer);
  std::string written;
  if (c.delimitedExport) {
    written = Presented(SaveDelimitedFile(fx.state, fx.dialogs, "text"), fx.dialogs).path;
  } else {
    written = Presented(SaveMusicFinderx(fx.state, fx.dialogs, "PSR-S970", false, PassMode::kSave),
                        fx.dialogs)
                  .savedPath;
  }

  ASSERT_EQ(fx.dialogs.messages.size(), 1u) << "one question, no other message";
  const MessageRequest& question = fx.dialogs.messages[0];
  EXPECT_NE(question.text.find("replace the file you opened, mine.mfd"), std::string::npos)
      << question.text;
  EXPECT_EQ(question.buttons, Buttons::kOkCancel);
  EXPECT_EQ(question.defaultButton, 1) << "Cancel is the default";
  EXPECT_TRUE(fx.dialogs.AllAnswered());
  if (c.answer == Answer::kOk) {
    EXPECT_EQ(written, chosen);
    EXPECT_NE(ReadText(open), before);
  } else {
    EXPECT_EQ(written, "");
    EXPECT_EQ(ReadText(open), before);
  }
  if (c.throughLink) {
    EXPECT_TRUE(fs::is_symlink(chosen));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveOntoTheOpenFile,
    ::testing::Values(OpenFileCase{"Cancelled", false, false, Answer::kCancel},
                      OpenFileCase{"Confirmed", false, false, Answer::kOk},
                      OpenFileCase{"ThroughALinkCancelled", true, false, Answer::kCancel},
                      OpenFileCase{"DelimitedTextCancelled", false, true, Answer::kCancel},
                      OpenFileCase{"DelimitedTextConfirmed", false, true, Answer::kOk}),
    [](const ::testing::TestParamInfo<OpenFileCase>& info) { return info.param.label; });

// Another existing file keeps the usual question: the open file's question is not asked for it.
TEST(SaveOntoTheOpenFile, AnotherExistingFileGetsTheUsualQuestion) {
  AppFixture fx;
  OpenSample(fx);
  const std::string other = fx.dir.Write("other.mfd", kOld).string();
  fx.dialogs.QueueFile(other);
  fx.dialogs.QueueAnswer(Answer::kOk);
  const auto result = Presented(
      SaveMusicFinderx(fx.state, fx.dialogs, "PSR-S970", false, PassMode::kSave), fx.dialogs);
  EXPECT_EQ(result.savedPath, other);
  EXPECT_EQ(fx.dialogs.Texts(), std::vector<std::string>{"This will replace existing file"});
}

// ---- Temporary files of killed saves ----------------------------------------------------------

// A process that has ended: its number is free (and, so soon after, not given to another).
pid_t EndedProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

// A process that runs until the guard ends it: a save that is still writing.
struct RunningProcess {
  pid_t pid = ::fork();
  RunningProcess() {
    if (pid == 0) {
      ::pause();
      ::_exit(0);
    }
  }
  ~RunningProcess() {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
};

std::string TemporaryName(pid_t pid, const std::string& random) {
  return ".cadenzo-" + std::to_string(pid) + "-" + random;
}

TEST(StaleTemporaries, TheNextSaveRemovesThoseOfEndedProcessesOnly) {
  TempDir dir;
  const RunningProcess running;
  const std::string stale1 = TemporaryName(EndedProcess(), "aB3dE9");
  const std::string stale2 = TemporaryName(EndedProcess(), "zzzzzz");
  const std::string live = TemporaryName(running.pid, "Qw12er");
  // A temporary of a process that is gone here but holds its lock, as a save running in another
  // process space (a container, another machine on a shared folder) does.
  const std::string locked = TemporaryName(EndedProcess(), "L0cked");
  const std::vector<std::string> notOurs = {
      ".mine.mfd.aB3dE9",                                       // another program's
      ".cadenzo-notanumber-aB3dE9",                             // not a process number
      TemporaryName(EndedProcess(), "toolongpart"),             // not our random part
      "cadenzo-" + std::to_string(EndedProcess()) + "-aB3dE9",  // not hidden
      "notes.txt"};
  for (const auto& name : {stale1, stale2, live, locked}) dir.Write(name, std::string("part"));
  for (const auto& name : notOurs) dir.Write(name, std::string("keep"));
  const int lockFd = ::open((dir.Path() / locked).c_str(), O_RDONLY);
  ASSERT_GE(lockFd, 0);
  ASSERT_EQ(::flock(lockFd, LOCK_EX), 0);

  WriteFileAtomic(dir.Path() / "out.mfd", std::string_view("saved"));
  ::close(lockFd);

  std::set<std::string> expected(notOurs.begin(), notOurs.end());
  expected.insert({"out.mfd", live, locked});
  EXPECT_EQ(Listing(dir.Path()), expected);
  EXPECT_EQ(ReadText(dir.Path() / live), "part");
  EXPECT_EQ(ReadText(dir.Path() / "out.mfd"), "saved");
}

// The names a save gives its temporary files are the ones the next save recognises, and the
// file lists of the windows leave out.
TEST(StaleTemporaries, NamesAreShortAndCarryTheProcess) {
  TempDir dir;
  const std::string target = std::string(200, 'n') + ".mfd";
  std::string seen;
  FileWriteCalls calls = SystemWriteCalls();
  static std::string* made = nullptr;
  made = &seen;
  calls.makeTemp = [](char* pathTemplate, const char* replaced) {
    const int fd = SystemWriteCalls().makeTemp(pathTemplate, replaced);
    *made = fs::path(pathTemplate).filename().string();
    return fd;
  };
  WriteCalls() = calls;
  WriteFileAtomic(dir.Path() / target, std::string_view("x"));
  WriteCalls() = SystemWriteCalls();
  EXPECT_TRUE(seen.starts_with(".cadenzo-" + std::to_string(::getpid()) + "-")) << seen;
  EXPECT_LE(seen.size(), 32u);
  EXPECT_TRUE(IsSaveTemporaryName(seen));
  EXPECT_FALSE(IsSaveTemporaryName(target));
  EXPECT_EQ(Listing(dir.Path()), std::set<std::string>{target});
}

// ---- Long names -------------------------------------------------------------------------------

struct NameCase {
  std::size_t length;  // bytes of the name, ".mfd" included
  bool fits;           // within the system's 255 bytes
};

void PrintTo(const NameCase& c, std::ostream* out) { *out << c.length << " bytes"; }

class LongNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(LongNames, SaveUpToTheSystemsLimitAndNameTheFaultBeyond) {
  const NameCase& c = GetParam();
  AppFixture fx;
  OpenSample(fx);
  const std::string name = std::string(c.length - 4, 'L') + ".mfd";
  const std::string path = fx.dir.Str() + name;
  fx.dialogs.QueueFile(path);
  const auto result = Presented(
      SaveMusicFinderx(fx.state, fx.dialogs, "PSR-S970", false, PassMode::kSave), fx.dialogs);
  if (c.fits) {
    EXPECT_EQ(result.savedPath, path);
    EXPECT_TRUE(fx.dialogs.Texts().empty());
    EXPECT_EQ(ReadText(path), std::string(fx.state.SaveBytes.begin(), fx.state.SaveBytes.end()));
  } else {
    EXPECT_FALSE(result.saved);
    ASSERT_EQ(fx.dialogs.Texts().size(), 1u);
    const std::string text = fx.dialogs.Texts()[0];
    EXPECT_EQ(text.find("read-only"), std::string::npos) << text;
    EXPECT_NE(text.find("File name too long"), std::string::npos) << text;
  }
  std::set<std::string> expected = {"app", "user", "files"};
  if (c.fits) expected.insert(name);
  EXPECT_EQ(Listing(fx.dir.Path()), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LongNames,
                         ::testing::Values(NameCase{248, true}, NameCase{251, true},
                                           NameCase{255, true}, NameCase{256, false},
                                           NameCase{400, false}),
                         [](const ::testing::TestParamInfo<NameCase>& info) {
                           return "Bytes" + std::to_string(info.param.length);
                         });

// ---- Symbolic links as outputs ----------------------------------------------------------------

struct LinkCase {
  const char* label;
  const char* linkText;  // what the link holds, relative to the folder "links/"
  bool targetExists;
};

void PrintTo(const LinkCase& c, std::ostream* out) { *out << c.label; }

class LinkedOutputs : public ::testing::TestWithParam<LinkCase> {};

// A link is written through to its file whether or not that file exists yet: the link stays a
// link, and nothing else in either folder changes.
TEST_P(LinkedOutputs, AreWrittenThroughToTheirFile) {
  const LinkCase& c = GetParam();
  TempDir dir;
  fs::create_directories(dir.Path() / "links");
  fs::create_directories(dir.Path() / "files");
  const fs::path file = dir.Path() / "files" / "real.mfd";
  if (c.targetExists) dir.Write("files/real.mfd", kOld);
  const fs::path link = dir.Path() / "links" / "out.mfd";
  std::string linkText = c.linkText;
  if (linkText == "ABSOLUTE") linkText = file.string();
  fs::create_symlink(linkText, link);
  if (std::string(c.label).starts_with("Chain")) {
    // out.mfd -> hop.mfd -> the file
    fs::rename(link, dir.Path() / "links" / "hop.mfd");
    fs::create_symlink("hop.mfd", link);
  }

  WriteFileAtomic(link, std::string_view("new bytes"));

  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadText(file), "new bytes");
  EXPECT_EQ(Listing(dir.Path() / "files"), std::set<std::string>{"real.mfd"});
  const std::set<std::string> links = std::string(c.label).starts_with("Chain")
                                          ? std::set<std::string>{"out.mfd", "hop.mfd"}
                                          : std::set<std::string>{"out.mfd"};
  EXPECT_EQ(Listing(dir.Path() / "links"), links);
}

INSTANTIATE_TEST_SUITE_P(Cases, LinkedOutputs,
                         ::testing::Values(LinkCase{"Working", "../files/real.mfd", true},
                                           LinkCase{"Dangling", "../files/real.mfd", false},
                                           LinkCase{"DanglingAbsolute", "ABSOLUTE", false},
                                           LinkCase{"ChainWorking", "../files/real.mfd", true},
                                           LinkCase{"ChainDangling", "../files/real.mfd", false}),
                         [](const ::testing::TestParamInfo<LinkCase>& info) {
                           return info.param.label;
                         });

// Links that lead round in a circle reach no file: the save is refused and nothing is written.
TEST(LinkedOutputs, ALoopIsRefused) {
  TempDir dir;
  fs::create_symlink("b", dir.Path() / "a");
  fs::create_symlink("a", dir.Path() / "b");
  EXPECT_THROW(WriteFileAtomic(dir.Path() / "a", std::string_view("x")), RuntimeError);
  EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"a", "b"}));
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "a"));
}

// ---- Permissions of the replaced file ---------------------------------------------------------

// The new file takes the replaced file's mode, set-id bits and group included; a new file gets
// 0666 under the umask. (Refusing a read-only file needs an unprivileged user: see the
// whole-program tests.)
TEST(ReplacedFile, KeepsItsMode) {
  TempDir dir;
  for (const fs::perms mode :
       {fs::perms(0600), fs::perms(0640), fs::perms(0755), fs::perms(02770)}) {
    const fs::path target = dir.Write("kept.mfd", kOld);
    fs::permissions(target, mode);
    WriteFileAtomic(target, std::string_view("new"));
    EXPECT_EQ(fs::status(target).permissions(), mode) << static_cast<int>(mode);
    EXPECT_EQ(ReadText(target), "new");
  }
  const mode_t mask = ::umask(027);
  WriteFileAtomic(dir.Path() / "fresh.mfd", std::string_view("new"));
  ::umask(mask);
  EXPECT_EQ(fs::status(dir.Path() / "fresh.mfd").permissions(), fs::perms(0640));
}

}  // namespace
}  // namespace cadenzo
