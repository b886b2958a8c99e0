// SPDX-License-Identifier: GPL-3.0-or-later
// cadenzo-cli merge, run as a whole program on files made in a temporary folder: the records of
// every file in order, their styles carried by name, the output's model, and nothing written when
// a file cannot be merged.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mfd/byte_io.h"
#include "mfd/record.h"
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
using testing::TempDir;

struct MergeCase {
  const char* name;
  std::string args;  // after "merge a.mfd b.mfd c.mfd -o out.mfd"
  int code;
  const char* model;        // of the output; "" when nothing is written
  std::vector<int> styles;  // of the output's records, in order
  const char* said;         // a text the run prints (standard output or error)
};

class CliMerge : public ::testing::TestWithParam<MergeCase> {
 protected:
  void SetUp() override {
    fs::create_directories(dir.Path() / "app");
    fs::create_directories(dir.Path() / "user");
    dir.Write("app/PSR-S970.dat", std::string("Cool Beat;0291\r\nPop Rock;12\r\nFunk;77\r\n"));
    dir.Write("app/PSR-2000.dat", std::string("Pop Rock;014\r\nFunk1;020\r\nSwing;030\r\n"));
    // a: the open file's model, PSR-S970; b: an older model; c: a second PSR-S970 file.
    Write("a.mfd",
          FileBuilder{.model = "PSR-S970",
                      .records = {RecordBuilder{.number = 0, .style = 291, .music = "A1"},
                                  RecordBuilder{.number = 1, .style = 5000, .music = "A2"}}});
    Write("b.mfd",
          FileBuilder{.model = "PSR-2000",
                      .generation = '1',
                      .records = {RecordBuilder{.number = 0, .style = 14, .music = "B1"},
                                  RecordBuilder{.number = 1, .style = 20, .music = "B2"},
                                  RecordBuilder{.number = 2, .style = 30, .music = "B3"}}});
    Write("c.mfd",
          FileBuilder{.model = "PSR-S970",
                      .records = {RecordBuilder{.number = 0, .style = 77, .music = "C1"}}});
    FileBuilder cut{.model = "PSR-S970", .records = {RecordBuilder{}, RecordBuilder{}}};
    std::vector<std::uint8_t> bytes = cut.Build();
    bytes.resize(bytes.size() - 50);
    dir.Write("cut.mfd", bytes);
  }
  void Write(const std::string& name, const FileBuilder& file) { dir.Write(name, file.Build()); }
  std::string P(const std::string& name) const { return Quote(dir.Str() + name); }

  TempDir dir;
};

TEST_P(CliMerge, MergesEveryFileInOrder) {
  const MergeCase& c = GetParam();
  std::string args = c.args;
  for (const char* name : {"a.mfd", "b.mfd", "c.mfd", "cut.mfd", "out.mfd"}) {
    for (std::size_t at; (at = args.find(std::string("@") + name)) != std::string::npos;) {
      args.replace(at, std::string(name).size() + 1, P(name));
    }
  }
  const auto r = RunCli(CADENZO_CLI, dir.Path(), "merge " + args);
  EXPECT_EQ(r.code, c.code) << r.out << r.err;
  EXPECT_NE((r.out + r.err).find(c.said), std::string::npos) << r.out << r.err;
  const fs::path out = dir.Path() / "out.mfd";
  if (std::string(c.model).empty()) {
    EXPECT_FALSE(fs::exists(out));
    return;
  }
  const std::string text = ReadText(out);
  const std::vector<std::uint8_t> bytes(text.begin(), text.end());
  ASSERT_GE(bytes.size(), mfd::kHeaderSize);
  EXPECT_EQ(text.substr(16, std::string(c.model).size()), c.model);
  ASSERT_EQ(HeaderCount(bytes), c.styles.size());
  for (std::size_t i = 0; i < c.styles.size(); ++i) {
    EXPECT_EQ(ReadU16(bytes, mfd::RecordOffset(i + 1) + mfd::kStyle), c.styles[i])
        << "record " << i + 1;
    EXPECT_EQ(ReadU16(bytes, mfd::RecordOffset(i + 1) + mfd::kNumber), i);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliMerge,
    ::testing::Values(
        // Pop Rock 14 -> 12, Funk1 -> Funk 77, Swing (not on PSR-S970) stays user style 30.
        MergeCase{"ThreeFilesInTheFirstFilesModel",
                  "@a.mfd @b.mfd @c.mfd -o @out.mfd",
                  0,
                  "PSR-S970",
                  {291, 5000, 12, 77, 30, 77},
                  "merged 3 from"},
        MergeCase{"WithoutUserStylesSwingTakesTheDefault",
                  "@a.mfd @b.mfd -o @out.mfd --no-user-styles --default-style 'Pop Rock'",
                  0,
                  "PSR-S970",
                  {291, 5000, 12, 77, 12},
                  "left out 0"},
        MergeCase{"ForAnotherTarget",
                  "@a.mfd @c.mfd -o @out.mfd --target PSR-2000",
                  0,
                  "PSR-2000",
                  {291, 5000, 20},
                  "written 3"},
        MergeCase{"ADamagedFileWritesNothing",
                  "@a.mfd @b.mfd @cut.mfd -o @out.mfd",
                  1,
                  "",
                  {},
                  "cut.mfd could not be read whole"},
        MergeCase{"TheOutputIsAnInput", "@a.mfd @b.mfd -o @b.mfd", 2, "", {}, "are the same file"},
        MergeCase{"OneFileIsNoMerge", "@a.mfd -o @out.mfd", 2, "", {}, "merge"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace cadenzo
