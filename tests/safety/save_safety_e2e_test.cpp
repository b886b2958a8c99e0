// SPDX-License-Identifier: GPL-3.0-or-later
// The built cadenzo-cli and the user's files: no command writes over one of its own files, and a
// save honours the permissions of the file it replaces as an ordinary user meets them (run
// through setpriv as "nobody", since the administrator may write any file).
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/builders.h"
#include "support/cli_runner.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;
using testing::FileBuilder;
using testing::Quote;
using testing::ReadText;
using testing::RecordBuilder;
using testing::RunCli;
using testing::RunResult;
using testing::TempDir;

void WriteLists(const TempDir& dir, const std::string& folder) {
  dir.Write(folder + "app/PSR-S970.dat",
            std::string("# example\r\nCool Beat;0291\r\nPop Rock;12\r\n"));
  dir.Write(folder + "app/PSR-2000.dat", std::string("# example\r\nPop Rock;014\r\n"));
  fs::create_directories(dir.Path() / (folder + "user"));
}

std::vector<std::uint8_t> Sample() {
  return FileBuilder{.records = {RecordBuilder{.number = 0, .style = 291, .music = "Moon River"},
                                 RecordBuilder{.number = 1, .style = 12, .music = "Mine"}}}
      .Build();
}

// Every entry of a folder, links as links: what each holds.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(e.path(), folder).string();
    if (name == "stdout" || name == "stderr") continue;
    if (e.is_symlink()) {
      entries[name] = "link to " + fs::read_symlink(e.path()).string();
    } else if (e.is_regular_file()) {
      entries[name] = ReadText(e.path());
    } else {
      entries[name] = "folder";
    }
  }
  return entries;
}

// ---- Outputs over a command's own files -------------------------------------------------------

struct ClashCase {
  const char* label;
  const char* args;  // "@" stands for the folder
};

const ClashCase kClashes[] = {
    {"LogOverTheInput", "convert @s.mfd --target PSR-2000 -o @o.mfd --log @s.mfd"},
    {"LogOverTheOutput", "convert @s.mfd --target PSR-2000 -o @o.mfd --log @o.mfd"},
    {"LogOverAnExistingOutput", "convert @s.mfd --target PSR-2000 -o @t.txt --log @t.txt"},
    {"OutputOverTheInput", "convert @s.mfd --target PSR-S970 -o @s.mfd"},
    {"OutputThroughALinkToTheInput", "convert @s.mfd --target PSR-S970 -o @link.mfd"},
    {"OutputOverAHardLinkOfTheInput", "convert @s.mfd --target PSR-S970 -o @hard.mfd"},
    {"OutputSpelledOtherwise", "convert @s.mfd --target PSR-S970 -o @sub/../s.mfd"},
    {"OutputOverTheDefaultLog", "convert @s.mfd --target PSR-S970 -o @user/ExportLog.txt"},
    {"TwoDanglingLinksToOneFile",
     "convert @s.mfd --target PSR-S970 -o @dangling1.mfd --log @dangling2.log"},
    {"ListOverTheInput", "list @s.mfd -o @s.mfd"},
    {"ExportOverTheInput", "export @s.mfd -o @s.mfd"},
    {"ExportThroughALink", "export @s.mfd -o @link.mfd"},
    {"ImportOverTheText", "import @s.mfd @t.txt -o @t.txt"},
    {"ImportOverTheFile", "import @s.mfd @t.txt -o @s.mfd"},
    {"LogOverTheImportsOutput", "import @s.mfd @t.txt -o @o.mfd --log @o.mfd"},
    {"ImportOverItsImportLog", "import @s.mfd @t.txt -o @user/ImportLog.txt"},
};

class SameFileOutputs : public ::testing::TestWithParam<ClashCase> {
 protected:
  void SetUp() override {
    WriteLists(dir, "");
    dir.Write("s.mfd", Sample());
    dir.Write("t.txt", std::string("the user's text\r\n"));
    fs::create_directories(dir.Path() / "sub");
    fs::create_symlink("s.mfd", dir.Path() / "link.mfd");
    fs::create_hard_link(dir.Path() / "s.mfd", dir.Path() / "hard.mfd");
    fs::create_symlink("sub/real.mfd", dir.Path() / "dangling1.mfd");
    fs::create_symlink("sub/../sub/real.mfd", dir.Path() / "dangling2.log");
  }

  std::string Args(const std::string& pattern) const {
    std::string args;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
      if (pattern[i] != '@') {
        args += pattern[i];
        continue;
      }
      const std::size_t end = pattern.find(' ', i);
      const std::string name = pattern.substr(i + 1, end == std::string::npos ? end : end - i - 1);
      args += Quote(dir.Str() + name);
      i += name.size();
    }
    return args;
  }

  TempDir dir;
};

TEST_P(SameFileOutputs, IsRefusedAndNothingIsWritten) {
  const auto before = Snapshot(dir.Path());
  const RunResult r = RunCli(CADENZO_CLI, dir.Path(), Args(GetParam().args));
  EXPECT_EQ(r.code, 2) << r.err;
  EXPECT_NE(r.err.find("are the same file"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
  EXPECT_EQ(Snapshot(dir.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, SameFileOutputs, ::testing::ValuesIn(kClashes),
                         [](const ::testing::TestParamInfo<ClashCase>& info) {
                           return info.param.label;
                         });

// Distinct files of the same names' kinds still work: the check refuses only a real clash.
TEST_F(SameFileOutputs, DistinctFilesAreWritten) {
  auto r = RunCli(CADENZO_CLI, dir.Path(), Args("list @s.mfd -o @list.txt"));
  ASSERT_EQ(r.code, 0) << r.err;
  r = RunCli(CADENZO_CLI, dir.Path(),
             Args("convert @s.mfd --target PSR-S970 -o @plain.mfd --log @o.log"));
  ASSERT_EQ(r.code, 0) << r.err;
  r = RunCli(CADENZO_CLI, dir.Path(),
             Args("convert @s.mfd --target PSR-S970 -o @dangling1.mfd --log @o.log"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "dangling1.mfd"));
  EXPECT_EQ(ReadText(dir.Path() / "sub/real.mfd"), ReadText(dir.Path() / "plain.mfd"));
  r = RunCli(CADENZO_CLI, dir.Path(), Args("import @s.mfd @list.txt -o @o.mfd --log @o.log"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadText(dir.Path() / "t.txt"), "the user's text\r\n");
}

// A folder that does not exist is not walked out of by "..": the system reaches no file there,
// and the save must not land on the input that the shortened name would name.
TEST_F(SameFileOutputs, AMissingFolderIsNotShortenedOntoTheInput) {
  const auto before = Snapshot(dir.Path());
  for (const char* args : {"list @s.mfd -o @missing/../s.mfd",
                           "convert @s.mfd --target PSR-S970 -o @missing/../s.mfd"}) {
    const RunResult r = RunCli(CADENZO_CLI, dir.Path(), Args(args));
    EXPECT_EQ(r.code, 1) << args << ": " << r.err;
    EXPECT_NE(r.err.find("That path doesn't exist."), std::string::npos) << r.err;
  }
  auto after = Snapshot(dir.Path());
  after.erase("user/ExportLog.txt");  // the conversion's log, written after the failed save
  EXPECT_EQ(after, before);
}

// ---- Permissions, as an ordinary user ---------------------------------------------------------

// A folder of an unprivileged user: the program, its lists, an input, and the files it replaces,
// all made by the administrator for that user.
class Permissions : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the administrator to act as another user";
    if (!fs::exists("/usr/bin/setpriv") && !fs::exists("/bin/setpriv")) {
      GTEST_SKIP() << "setpriv is missing";
    }
    const passwd* user = ::getpwnam("nobody");
    if (user == nullptr) GTEST_SKIP() << "no user nobody";
    uid = user->pw_uid;
    gid = user->pw_gid;
    fs::permissions(dir.Path(), fs::perms(0755));
    WriteLists(dir, "home/");
    // The program beside the files, reachable by the user whatever the build folder's modes.
    fs::copy_file(CADENZO_CLI, dir.Path() / "cadenzo-cli");
    home = dir.Path() / "home";
    dir.Write("home/s.mfd", Sample());
    Own(home, 0755);
    Own(home / "user", 0755);
    // What a save writes, made beside the user's folder.
    ASSERT_EQ(Run(Convert("../saved.mfd"), false).code, 0);
    saved = ReadText(dir.Path() / "saved.mfd");
    ASSERT_EQ(saved.rfind("MFDFILE-HEAD", 0), 0u);
    fs::remove(home / "user" / "ExportLog.txt");
  }

  void Own(const fs::path& path, int mode, gid_t group = static_cast<gid_t>(-1)) const {
    ASSERT_EQ(::chown(path.c_str(), uid, group == static_cast<gid_t>(-1) ? gid : group), 0);
    ASSERT_EQ(::chmod(path.c_str(), static_cast<mode_t>(mode)), 0);
  }

  // cadenzo-cli ARGS run as the user (with the extra groups given), or as the administrator.
  RunResult Run(const std::string& args, bool asUser = true, const std::string& groups = "") {
    std::string prefix;
    if (asUser) {
      prefix = "setpriv --reuid=" + std::to_string(uid) + " --regid=" + std::to_string(gid) +
               (groups.empty() ? " --clear-groups " : " --groups=" + groups + " ");
    }
    const std::string cmd = prefix + Quote((dir.Path() / "cadenzo-cli").string()) + " --app-dir " +
                            Quote((home / "app").string()) + " --user-dir " +
                            Quote((home / "user").string()) + " " + args + " >" +
                            Quote(dir.Str() + "stdout") + " 2>" + Quote(dir.Str() + "stderr") +
                            " </dev/null";
    const int status = std::system(cmd.c_str());
    RunResult r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = ReadText(dir.Path() / "stdout");
    r.err = ReadText(dir.Path() / "stderr");
    return r;
  }

  std::string Convert(const std::string& output) const {
    return "convert " + Quote((home / "s.mfd").string()) + " --target PSR-S970 -o " +
           Quote((home / output).string());
  }

  static struct stat Stat(const fs::path& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st;
  }

  TempDir dir;
  fs::path home;
  std::string saved;
  uid_t uid = 0;
  gid_t gid = 0;
};

// Mode 444 in a folder the user may write: the file stays as it was, owner and mode included.
TEST_F(Permissions, AReadOnlyFileIsRefused) {
  const fs::path target = dir.Write("home/ro.mfd", std::string("kept\r\n"));
  Own(target, 0444);
  const RunResult r = Run(Convert("ro.mfd"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("cadenzo-cli: ro.mfd could not be saved: the file or its folder " +
                       home.string() + " may not be written"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(ReadText(target), "kept\r\n");
  EXPECT_EQ(Stat(target).st_mode & 07777, 0444u);
  EXPECT_EQ(Stat(target).st_uid, uid);
  EXPECT_EQ(std::distance(fs::directory_iterator(home), fs::directory_iterator()), 4)
      << "no temporary file is left";
}

// A file the user may write is replaced and keeps its mode, and its group when the user belongs
// to it; a group the user does not belong to cannot be given, so the user's own is.
TEST_F(Permissions, AWritableFileKeepsItsModeAndTheGroupsTheUserHas) {
  struct Case {
    const char* name;
    int mode;
    gid_t group;
    std::string groups;  // the user's extra groups
    gid_t expectedGroup;
  };
  const std::vector<Case> cases = {{"private.mfd", 0600, gid, "", gid},
                                   {"shared.mfd", 0664, 4242, "4242", 4242},
                                   {"foreign.mfd", 0646, 4343, "", gid}};
  for (const Case& c : cases) {
    const fs::path target = dir.Write("home/" + std::string(c.name), std::string("old\r\n"));
    Own(target, c.mode, c.group);
    const RunResult r = Run(Convert(c.name), true, c.groups);
    EXPECT_EQ(r.code, 0) << c.name << ": " << r.err;
    EXPECT_EQ(ReadText(target), saved) << c.name;
    const struct stat st = Stat(target);
    EXPECT_EQ(st.st_mode & 07777, static_cast<mode_t>(c.mode)) << c.name;
    EXPECT_EQ(st.st_uid, uid) << c.name;
    EXPECT_EQ(st.st_gid, c.expectedGroup) << c.name;
  }
}

// The administrator replacing a user's file leaves it the user's.
TEST_F(Permissions, TheAdministratorKeepsTheOwner) {
  const fs::path target = dir.Write("home/theirs.mfd", std::string("old\r\n"));
  Own(target, 0640);
  const RunResult r = Run(Convert("theirs.mfd"), false);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadText(target), saved);
  EXPECT_EQ(Stat(target).st_uid, uid);
  EXPECT_EQ(Stat(target).st_gid, gid);
  EXPECT_EQ(Stat(target).st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace cadenzo
