// SPDX-License-Identifier: GPL-3.0-or-later
// The built cadenzo-cli with style lists in the user's styles folder, and its duplicates command.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "mfd/byte_io.h"
#include "mfd/record.h"
#include "support/builders.h"
#include "support/cli_runner.h"
#include "textio/text_file.h"

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

class CliUserStyles : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.Path() / "app");
    fs::create_directories(dir.Path() / "user/styles");
    // The shipped lists: the source names style 291 "Cool Beat"; the target has both names.
    dir.Write("app/PSR-S970.dat", std::string("# shipped\r\nCool Beat;0291\r\nFunk;77\r\n"));
    dir.Write("app/PSR-2000.dat", std::string("# shipped\r\nCool Beat;014\r\nCool Groove;020\r\n"));
    dir.Write(
        "song.mfd",
        FileBuilder{.records = {RecordBuilder{.number = 0, .style = 291, .music = "Moon River"}}}
            .Build());
  }

  RunResult Run(const std::string& args) { return RunCli(CADENZO_CLI, dir.Path(), args); }
  std::string P(const std::string& name) const { return Quote(dir.Str() + name); }
  int WrittenStyle(const std::string& name) const {
    const auto bytes = ReadFileBytes((dir.Path() / name).string());
    return ReadU16(bytes, mfd::RecordOffset(1) + 2);
  }

  TempDir dir;
};

// The user's copy of the source list renames style 291: the list shows the new name and the
// conversion finds the target's style by it.
TEST_F(CliUserStyles, TheUsersListOverridesTheShippedOne) {
  auto r = Run("convert " + P("song.mfd") + " --target PSR-2000 -o " + P("shipped.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(WrittenStyle("shipped.mfd"), 14);

  dir.Write("user/styles/PSR-S970.dat", std::string("Cool Groove;0291\r\n"));
  r = Run("list " + P("song.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Moon River\tCool Groove\t"), std::string::npos) << r.out;
  r = Run("convert " + P("song.mfd") + " --target PSR-2000 -o " + P("user.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(WrittenStyle("user.mfd"), 20);

  // Without --user-dir the user folder is Cadenzo/ in XDG_DATA_HOME.
  const TempDir home;
  fs::create_directories(home.Path() / "Cadenzo/styles");
  home.Write("Cadenzo/styles/PSR-S970.dat", std::string("Other Name;0291\r\n"));
  const std::string out = dir.Str() + "xdg.txt";
  const std::string cmd = "XDG_DATA_HOME=" + Quote(home.Path().string()) + " " +
                          Quote(CADENZO_CLI) + " --app-dir " + P("app") + " list " + P("song.mfd") +
                          " >" + Quote(out) + " 2>&1 </dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << ReadText(out);
  EXPECT_NE(ReadText(out).find("Moon River\tOther Name\t"), std::string::npos) << ReadText(out);
}

// A target with a list in neither folder is refused before anything is written, naming both.
TEST_F(CliUserStyles, ATargetWithoutAListIsRefusedNamingBothFolders) {
  for (const std::string options : {"", " --no-user-styles"}) {
    const auto r = Run("convert " + P("song.mfd") + " --target GENOS -o " + P("out.mfd") + options);
    EXPECT_EQ(r.code, 1) << options;
    for (const std::string& word :
         {std::string("GENOS.dat"), dir.Str() + "user/styles/", dir.Str() + "app/"}) {
      EXPECT_NE(r.err.find(word), std::string::npos) << word << "\n" << r.err;
    }
    EXPECT_FALSE(fs::exists(dir.Path() / "out.mfd"));
    EXPECT_FALSE(fs::exists(dir.Path() / "user/ExportLog.txt"));
  }
  // A list in the user folder alone is enough.
  dir.Write("user/styles/GENOS.dat", std::string("Cool Beat;0291\r\n"));
  const auto r = Run("convert " + P("song.mfd") + " --target GENOS -o " + P("out.mfd"));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(WrittenStyle("out.mfd"), 291);
}

TEST_F(CliUserStyles, DuplicatesAsTextAndJson) {
  FileBuilder file;
  const std::vector<std::pair<std::string, int>> songs = {{"Moon River", 291},
                                                          {"Feelings", 77},
                                                          {" moon river ", 291},
                                                          {"Moon River", 77},
                                                          {"Feelings", 77}};
  for (std::size_t i = 0; i < songs.size(); ++i) {
    file.records.push_back(RecordBuilder{
        .number = static_cast<int>(i), .style = songs[i].second, .music = songs[i].first});
  }
  dir.Write("dups.mfd", file.Build());

  auto r = Run("duplicates " + P("dups.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "3 repeats 1: moon river / Cool Beat\n"
            "5 repeats 2: Feelings / Funk\n"
            "2 duplicates\n");
  r = Run("duplicates " + P("dups.mfd") + " --song-only");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "3 repeats 1: moon river / Cool Beat\n"
            "4 repeats 1: Moon River / Funk\n"
            "5 repeats 2: Feelings / Funk\n"
            "3 duplicates\n");

  // The JSON document read back by Python's own parser.
  const std::string json = dir.Str() + "dups.json";
  const std::string cmd = Quote(CADENZO_CLI) + " --app-dir " + P("app") + " --user-dir " +
                          P("user") + " duplicates --json " + P("dups.mfd") + " | python3 -c " +
                          Quote(
                              "import json,sys; d=json.load(sys.stdin); "
                              "print(d['count'], d['songOnly'], "
                              "[(x['kept'], x['repeat'], x['song'], x['style']) "
                              "for x in d['duplicates']])") +
                          " >" + Quote(json);
  ASSERT_EQ(std::system(cmd.c_str()), 0) << ReadText(json);
  EXPECT_EQ(ReadText(json),
            "2 False [(1, 3, 'moon river', 'Cool Beat'), (2, 5, 'Feelings', 'Funk')]\n");
  const std::string tool = Quote(CADENZO_CLI) + " --app-dir " + P("app") + " --user-dir " +
                           P("user") + " duplicates --json --song-only " + P("dups.mfd") +
                           " | python3 -m json.tool >/dev/null";
  EXPECT_EQ(std::system(tool.c_str()), 0);
}

}  // namespace
}  // namespace cadenzo
