// SPDX-License-Identifier: GPL-3.0-or-later
// The built cadenzo-cli on text files as users and editors make them: style lists with LF line
// ends or in UTF-16, an export of fields holding tabs and line breaks, imports with odd style
// numbers and without a final line end.
#include <gtest/gtest.h>

#include <filesystem>

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
using testing::RunResult;
using testing::TempDir;

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  const std::string text = ReadText(path);
  return {text.begin(), text.end()};
}

std::string Utf16Le(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (const char c : ascii) out += std::string{c, '\0'};
  return out;
}

class TextFilesE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.Path() / "app");
    fs::create_directories(dir.Path() / "user");
    dir.Write("app/PSR-S970.dat", std::string(kS970List));
    dir.Write("app/PSR-SX900.dat", std::string("Pop Rock;0012\r\nCool Beat;0300\r\n"));
    dir.Write("in.mfd", FileBuilder{.records = {RecordBuilder{.number = 0, .style = 291},
                                                RecordBuilder{.number = 1, .style = 12}}}
                            .Build());
  }

  RunResult Run(const std::string& args) { return RunCli(CADENZO_CLI, dir.Path(), args); }
  std::string P(const std::string& name) const { return Quote(dir.Str() + name); }

  static constexpr const char* kS970List = "# list\r\nCool Beat;0291\r\nPop Rock;12\r\n";
  TempDir dir;
};

// A list saved by a Linux editor converts as the CR LF list does; a UTF-16 list (source or
// target) stops the command with exit 1 and a message naming it, and nothing is written.
TEST_F(TextFilesE2e, StyleListsOfEveryLineEndOrRefusedWhenNoText) {
  const RunResult crlf = Run("convert " + P("in.mfd") + " --target PSR-SX900 -o " + P("crlf.mfd"));
  ASSERT_EQ(crlf.code, 0) << crlf.err;
  dir.Write("app/PSR-SX900.dat", std::string("Pop Rock;0012\nCool Beat;0300"));
  const RunResult lf = Run("convert " + P("in.mfd") + " --target PSR-SX900 -o " + P("lf.mfd"));
  ASSERT_EQ(lf.code, 0) << lf.err;
  EXPECT_EQ(ReadText(dir.Str() + "lf.mfd"), ReadText(dir.Str() + "crlf.mfd"));
  const auto converted = ReadBytes(dir.Str() + "lf.mfd");
  EXPECT_EQ(ReadU16(converted, mfd::RecordOffset(1) + mfd::kStyle), 300);

  for (const std::string model : {"PSR-SX900", "PSR-S970"}) {
    const std::string list = dir.Str() + "app/" + model + ".dat";
    dir.Write("app/" + model + ".dat", Utf16Le("Pop Rock;0012\r\nCool Beat;0300\r\n"));
    const RunResult r = Run("convert " + P("in.mfd") + " --target PSR-SX900 -o " + P("utf16.mfd"));
    EXPECT_EQ(r.code, 1) << model << r.err;
    EXPECT_NE(r.err.find(list), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("UTF-16"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir.Path() / "utf16.mfd"));
    dir.Write("app/" + model + ".dat",
              std::string(model == "PSR-S970" ? kS970List : "Pop Rock;0012\r\n"));
  }
  dir.Write("app/PSR-S970.dat", Utf16Le(kS970List));
  const RunResult list = Run("list " + P("in.mfd"));
  EXPECT_EQ(list.code, 1) << list.err;
}

// A style list far larger than any list is refused unread, naming the file.
TEST_F(TextFilesE2e, OversizedStyleListIsRefused) {
  dir.Write("app/PSR-SX900.dat",
            "Pop Rock;0012\r\n" + std::string(5 << 20, '#') + "\r\nCool Beat;0300\r\n");
  const RunResult r = Run("convert " + P("in.mfd") + " --target PSR-SX900 -o " + P("big.mfd"));
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_NE(r.err.find("PSR-SX900.dat cannot be read: it is larger than 4 MB"), std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(dir.Path() / "big.mfd"));
}

// Tabs and line breaks inside fields are written as blanks, with a note on standard error; the
// text imports back as the same records.
TEST_F(TextFilesE2e, ExportWritesBlanksForTabsAndLineBreaksAndSaysSo) {
  dir.Write("tabs.mfd",
            FileBuilder{.records = {RecordBuilder{.number = 0,
                                                  .style = 291,
                                                  .music = "One\tTwo",
                                                  .genre = "Po\r\np",
                                                  .keywords = "a\nb"},
                                    RecordBuilder{.number = 1, .style = 12, .music = "Plain"}}}
                .Build());
  const RunResult r = Run("export " + P("tabs.mfd") + " -o " + P("tabs.txt"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("3 fields"), std::string::npos) << r.err;
  const std::string text = ReadText(dir.Str() + "tabs.txt");
  EXPECT_NE(text.find("\tPo  p\tOne Two\tCool Beat\t"), std::string::npos) << text;
  EXPECT_NE(text.find("\ta b\t"), std::string::npos) << text;

  const RunResult plain = Run("export " + P("in.mfd") + " -o " + P("plain.txt"));
  ASSERT_EQ(plain.code, 0);
  EXPECT_EQ(plain.err, "");

  dir.Write("empty.mfd", FileBuilder{}.Build());
  const RunResult back =
      Run("import " + P("empty.mfd") + " " + P("tabs.txt") + " -o " + P("back.mfd"));
  ASSERT_EQ(back.code, 0) << back.err;
  EXPECT_NE(back.out.find("imported 2, left out 0"), std::string::npos) << back.out;
  const auto bytes = ReadBytes(dir.Str() + "back.mfd");
  ASSERT_EQ(HeaderCount(bytes), 2);
  EXPECT_EQ(ReadU16(bytes, mfd::RecordOffset(1) + mfd::kStyle), 291);
  EXPECT_EQ(DecodeMusic(bytes, mfd::RecordOffset(1)), "One Two");
  EXPECT_EQ(DecodeGenre(bytes, mfd::RecordOffset(1)), "Po  p");
  EXPECT_EQ(DecodeKeywords(bytes, mfd::RecordOffset(1)), "a b");
}

// An import whose last line has no line end imports it; odd style numbers are left out.
TEST_F(TextFilesE2e, ImportReadsTheLastLineAndLeavesOddNumbersOut) {
  const std::string line = "\tPop\tSong\tPop Rock\t 4/ 4\t120\tkw\tNo\tNo\tNo\tIntro 1\tMain A";
  dir.Write("two.txt", std::string(" 1" + line + "\n 2" + line));
  dir.Write("empty.mfd", FileBuilder{}.Build());
  const RunResult r = Run("import " + P("empty.mfd") + " " + P("two.txt") + " -o " + P("two.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("imported 2, left out 0"), std::string::npos) << r.out;
  EXPECT_EQ(HeaderCount(ReadBytes(dir.Str() + "two.mfd")), 2);

  std::string odd;
  for (const char* style : {"12abc", "70000", "-5", "0"}) {
    odd += std::string(" 1\tPop\t") + style + "\t" + style +
           "\t 4/ 4\t120\tkw\tNo\tNo\tNo\tIntro 1\tMain A\r\n";
  }
  dir.Write("odd.txt", odd);
  const RunResult o = Run("import " + P("empty.mfd") + " " + P("odd.txt") + " -o " + P("odd.mfd"));
  ASSERT_EQ(o.code, 0) << o.err;
  EXPECT_NE(o.out.find("imported 1, left out 3"), std::string::npos) << o.out;
  const auto bytes = ReadBytes(dir.Str() + "odd.mfd");
  ASSERT_EQ(HeaderCount(bytes), 1);
  EXPECT_EQ(ReadU16(bytes, mfd::RecordOffset(1) + mfd::kStyle), 0);
  EXPECT_EQ(ReadText(dir.Str() + "user/ImportLog.txt"),
            "Item #\tGenre\tSong\tStyle\r\n1\tPop\t12abc\t12abc\r\n2\tPop\t70000\t70000\r\n"
            "3\tPop\t-5\t-5\r\n\r\n");
}

}  // namespace
}  // namespace cadenzo
