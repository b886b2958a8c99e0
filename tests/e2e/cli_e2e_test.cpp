// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built cadenzo-cli on files made in a temporary folder and checks its output, its
// exit codes and the bytes it writes.
#include <gtest/gtest.h>
#include <array>
#include <cstdio>
#include <filesystem>

#include "mfd/byte_io.h"
#include "mfd/record.h"
#include "support/builders.h"
#include "support/cli_runner.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;
using testing::FileBuilder;
using testing::FileRefBuilder;
using testing::Quote;
using testing::ReadText;
using testing::RecordBuilder;
using testing::RunCli;
using testing::RunResult;
using testing::TempDir;

class CliE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.Path() / "app");
    fs::create_directories(dir.Path() / "user");
    WriteList("PSR-S970",
              "# example\r\nCool Beat;0291\r\nPop Rock;12\r\nFunk;77\r\nSlow Waltz;300\r\n");
    WriteList("PSR-2000", "# example\r\nPop Rock;014\r\nFunk1;020\r\nSwing;030\r\n");
  }

  void WriteList(const std::string& model, const std::string& text) {
    dir.Write("app/" + model + ".dat", text);
  }

  RunResult Run(const std::string& args) { return RunCli(CADENZO_CLI, dir.Path(), args); }

  std::string File(const std::string& name, const FileBuilder& builder) {
    return dir.Write(name, builder.Build()).string();
  }
  std::string P(const std::string& name) const { return Quote(dir.Str() + name); }

  static FileBuilder Sample() {
    FileBuilder f;
    f.records = {RecordBuilder{.number = 0,
                               .style = 291,
                               .numerator = 4,
                               .denominator = 4,
                               .tempo = 96,
                               .flags = 1,
                               .music = "Moon River",
                               .genre = "Ballad",
                               .keywords = "slow",
                               .intro = 1,
                               .next = 4},
                 RecordBuilder{.number = 1,
                               .style = 77,
                               .numerator = 3,
                               .denominator = 4,
                               .tempo = 120,
                               .flags = 6,
                               .music = "Caf\xE9 Song",
                               .genre = "Latin",
                               .keywords = "",
                               .intro = 0,
                               .next = 10},
                 RecordBuilder{.number = 2,
                               .style = 5000,
                               .numerator = 255,
                               .tempo = 0xFF00,
                               .music = "Mine",
                               .genre = "Pop",
                               .intro = 3,
                               .next = 7},
                 RecordBuilder{.number = 3,
                               .style = mfd::kMediaStyle,
                               .numerator = 255,
                               .denominator = 255,
                               .tempo = 0xFFFF,
                               .music = "Hit",
                               .genre = "Pop"}};
    f.fileRefs =
        std::vector<FileRefBuilder>{{.position = 3, .type = 1, .path = "I:\\Songs\\Hit.mid"}};
    return f;
  }

  TempDir dir;
};

TEST_F(CliE2e, ListWritesTheWindowsRowsAsDelimitedText) {
  File("s.mfd", Sample());
  const auto r = Run("list " + P("s.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string expected =
      "Number\tGenre    \tMusic         \tStyle    \tTimeSig\tTempo\tKeywords\tFavorites\tSearch "
      "1\tSearch 2\tIntro\tSection\r\n"
      " 1\tBallad\tMoon River\tCool Beat\t 4/ 4\t 96\tslow\tYes\tNo\tNo\tIntro 1\tMain A\r\n"
      " 2\tLatin\tCaf\xE9 Song\tFunk\t 3/ 4\t120\t\tNo\tYes\tYes\tOff\tEnding 3\r\n"
      " 3\tPop\tMine\t5000\t\t\t\tNo\tNo\tNo\tIntro 3\tMain D\r\n"
      " 4\tPop\tHit\tUSB:\\Songs\\Hit.mid\t\t\t\tNo\tNo\tNo\tIntro 1\tMain A\r\n";
  EXPECT_EQ(r.out, expected);
  ASSERT_EQ(Run("list " + P("s.mfd") + " --style-numbers -o " + P("out.txt")).code, 0);
  EXPECT_NE(ReadText(dir.Path() / "out.txt").find("\tMoon River\t0291\t"), std::string::npos);
}

TEST_F(CliE2e, ListWithASourceReadsAnUnrecognisedFile) {
  File("u.mfd", FileBuilder{.model = "MYSTERY", .records = {RecordBuilder{.style = 12}}});
  EXPECT_NE(Run("list " + P("u.mfd")).out.find("\t0006\t"), std::string::npos);
  EXPECT_NE(Run("list " + P("u.mfd") + " --source PSR-S970").out.find("\tPop Rock\t"),
            std::string::npos);
}

TEST_F(CliE2e, InfoNamesTheFilesFacts) {
  File("s.mfd", Sample());
  const auto r = Run("info " + P("s.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "source instrument: PSR-S970\nrecord count: 4\nfile references: 1\ngeneration digit: "
            "3\ncapacity: 2500\n");
}

TEST_F(CliE2e, ConvertToAnOlderModelAndBack) {
  File("s.mfd", Sample());
  auto r = Run("convert " + P("s.mfd") + " --target PSR-2000 -o " + P("old.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "read 4, written 3, default style 0, dropped 1, media references 0\n");
  const auto old = ReadText(dir.Path() / "old.mfd");
  ASSERT_EQ(old.size(), 38u + 3 * 92);
  const std::vector<std::uint8_t> bytes(old.begin(), old.end());
  EXPECT_EQ(bytes[12], '1');
  EXPECT_EQ(old.substr(16, 8), "PSR-2000");
  EXPECT_EQ(ReadU16(bytes, mfd::RecordOffset(1) + 2), 291);  // user style kept as it was
  EXPECT_EQ(ReadU16(bytes, mfd::RecordOffset(2) + 2), 20);   // Funk -> Funk1
  EXPECT_EQ(ReadU16(bytes, mfd::RecordOffset(3) + 2), 5000);
  EXPECT_EQ(ReadText(dir.Path() / "user/ExportLog.txt").rfind("Style conversions to Swing   ", 0),
            0u);

  r = Run("convert " + P("old.mfd") + " --target PSR-S970 -o " + P("back.mfd") + " --log " +
          P("back.log"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "read 3, written 3, default style 0, dropped 0, media references 0\n");
  const auto back = ReadText(dir.Path() / "back.mfd");
  const std::vector<std::uint8_t> b(back.begin(), back.end());
  EXPECT_EQ(ReadU16(b, mfd::RecordOffset(1) + 2), 291);
  EXPECT_EQ(ReadU16(b, mfd::RecordOffset(2) + 2), 77);  // "Funk1" finds "Funk" on the way back
  EXPECT_FALSE(ReadText(dir.Path() / "back.log").empty());
}

// The conversion log of the program's last session stays unless a conversion writes it, and a
// log named with --log is the only one written.
TEST_F(CliE2e, OnlyAConversionWritesTheLogAndOnlyWhereItIsSent) {
  File("s.mfd", Sample());
  const std::string old = "the last session's log";
  dir.Write("user/ExportLog.txt", old);
  auto r = Run("list " + P("s.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  r = Run("convert " + P("s.mfd") + " --target PSR-2000 -o " + P("o.mfd") + " --log " + P("o.log"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadText(dir.Path() / "user/ExportLog.txt"), old);
  EXPECT_EQ(ReadText(dir.Path() / "o.log").rfind("Style conversions to Swing   ", 0), 0u);
}

TEST_F(CliE2e, SameModelSaveIsByteForByteTheExpectedImage) {
  const FileBuilder sample = Sample();
  File("s.mfd", sample);
  ASSERT_EQ(Run("convert " + P("s.mfd") + " --target PSR-S970 -o " + P("same.mfd")).code, 0);
  // The expected image: the same header and records; the block rebuilt with the same chunk.
  FileBuilder expected = sample;
  const auto want = expected.Build();
  const auto got = ReadText(dir.Path() / "same.mfd");
  EXPECT_EQ(got, std::string(want.begin(), want.end()));
}

TEST_F(CliE2e, DefaultStyleAndNoneOptions) {
  File("s.mfd", Sample());
  auto r = Run("convert " + P("s.mfd") +
               " --target PSR-2000 --no-user-styles --default-style Swing -o " + P("a.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  // Cool Beat and the song PSR-2000 cannot keep take Swing; the user style 5000 stays.
  EXPECT_EQ(r.out, "read 4, written 4, default style 2, dropped 0, media references 0\n");
  const auto a = ReadText(dir.Path() / "a.mfd");
  const std::vector<std::uint8_t> bytes(a.begin(), a.end());
  for (const auto& [record, style] :
       std::vector<std::pair<int, int>>{{1, 30}, {3, 5000}, {4, 30}}) {
    EXPECT_EQ(ReadU16(bytes, mfd::RecordOffset(static_cast<std::size_t>(record)) + 2), style);
  }
  r = Run("convert " + P("s.mfd") + " --target PSR-2000 --no-user-styles --default-style None -o " +
          P("b.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "read 4, written 2, default style 0, dropped 2, media references 0\n");
}

TEST_F(CliE2e, OverCapacityIsRefusedUnlessAccepted) {
  FileBuilder big;
  for (int i = 0; i < 1201; ++i) big.records.push_back(RecordBuilder{.number = i, .style = 12});
  File("big.mfd", big);
  WriteList("PSR-S770", "Pop Rock;12\r\n");
  auto r = Run("convert " + P("big.mfd") + " --target PSR-S770 -o " + P("out.mfd"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("This mfd has  1201 and the instrument will only accept 1200."),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(dir.Path() / "out.mfd"));
  r = Run("convert " + P("big.mfd") + " --target PSR-S770 --over-capacity -o " + P("out.mfd"));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(fs::file_size(dir.Path() / "out.mfd"), 36u + 1201 * 92 + 12);
}

struct BadInput {
  const char* name;
  std::string setup;  // which file to make
  std::string args;   // after the command
  std::string message;
};

TEST_F(CliE2e, BadInputsFailWithAMessageAndWriteNothing) {
  dir.Write("empty.mfd", std::string());
  auto truncated = Sample().Build();
  truncated.resize(38 + 92 + 40);
  dir.Write("trunc.mfd", truncated);
  dir.Write("text.mfd",
            std::string("Number\tGenre\r\nhello world, this is not a Music Finder file\r\n"));
  File("s.mfd", Sample());
  File("noList.mfd", FileBuilder{.model = "GENOS", .records = {RecordBuilder{}}});
  fs::create_directories(dir.Path() / "ro");
  const std::vector<BadInput> cases = {
      {"empty", "", "empty.mfd --target PSR-2000 -o @out.mfd", "Bad File"},
      {"missing", "", "missing.mfd --target PSR-2000 -o @out.mfd", "Could not find that file"},
      {"truncated", "", "trunc.mfd --target PSR-2000 -o @out.mfd", "encountered in Function List1"},
      {"text", "", "text.mfd --target PSR-2000 -o @out.mfd", "encountered in Function List1"},
      {"unknown model", "", "s.mfd --target PSR-9999 -o @out.mfd", "unknown model"},
      {"missing style list", "", "s.mfd --target GENOS -o @out.mfd", "GENOS.dat is missing"},
      {"unwritable folder", "", "s.mfd --target PSR-2000 -o @nofolder/out.mfd",
       "That path doesn't exist."},
  };
  for (const auto& c : cases) {
    std::string args = c.args;
    for (std::size_t p; (p = args.find('@')) != std::string::npos;) args.replace(p, 1, dir.Str());
    args = dir.Str() + args;
    const auto r = Run("convert " + args);
    EXPECT_EQ(r.code, 1) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
    EXPECT_FALSE(fs::exists(dir.Path() / "out.mfd")) << c.name;
  }
  const auto r = Run("info " + P("empty.mfd"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Bad File"), std::string::npos);
}

TEST_F(CliE2e, UsageErrorsExitWithTwo) {
  for (const std::string args :
       {"", "frobnicate x.mfd", "info", "convert x.mfd -o y.mfd", "convert x.mfd --target",
        "info x.mfd --no-user-styles", "list x.mfd --bogus", "--app-dir"}) {
    const auto r = Run(args);
    EXPECT_EQ(r.code, 2) << args;
    EXPECT_NE(r.err.find("Usage: cadenzo-cli"), std::string::npos) << args;
  }
}

TEST_F(CliE2e, HelpDocumentsEveryCommandAndOption) {
  const auto r = Run("--help");
  ASSERT_EQ(r.code, 0);
  for (const char* word : {"info", "list", "convert", "dump", "--app-dir", "--user-dir", "--source",
                           "--style-numbers", "-o", "--target", "--no-user-styles",
                           "--default-style", "--over-capacity", "--log", "--version"}) {
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
  }
  EXPECT_EQ(Run("--version").code, 0);
}

TEST_F(CliE2e, DumpAnnotatesEveryPart) {
  File("s.mfd", Sample());
  const auto r = Run("dump " + P("s.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  for (const char* part : {"model", "count", "= 4", "record 4", "music", "|Moon River",
                           "file references: 1", "path \"I:\\Songs\\Hit.mid\""}) {
    EXPECT_NE(r.out.find(part), std::string::npos) << part;
  }
}

// The shipped example (PSR-S970, six media records on USB: and HD:) saved for its own model keeps
// every reference, path and record, in file order.
TEST_F(CliE2e, TheExampleSavedForItsOwnModelKeepsEveryMediaReference) {
  const fs::path bin = fs::path(CADENZO_CLI).parent_path();
  fs::copy_file(bin / "PSR-S970.dat", dir.Path() / "app/PSR-S970.dat",
                fs::copy_options::overwrite_existing);
  fs::copy_file(bin / "examples/Example.mfd", dir.Path() / "ex.mfd");
  auto r = Run("convert " + P("ex.mfd") + " --target PSR-S970 -o " + P("same.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find(", media references 6\n"), std::string::npos) << r.out;
  const auto references = [&](const std::string& name) {
    const auto dump = Run("dump " + P(name));
    EXPECT_EQ(dump.code, 0) << dump.err;
    std::vector<std::string> lines;
    for (std::size_t p = dump.out.find("  chunk at "); p != std::string::npos;
         p = dump.out.find("  chunk at ", p + 1)) {
      const std::size_t from = dump.out.find(": position", p);
      lines.push_back(dump.out.substr(from, dump.out.find('\n', p) - from));
    }
    return lines;
  };
  const auto before = references("ex.mfd");
  ASSERT_EQ(before.size(), 6u);
  EXPECT_EQ(references("same.mfd"), before);
  // With user styles off and a default style set the same holds.
  r = Run("convert " + P("ex.mfd") + " --target PSR-S970 --no-user-styles -o " + P("same2.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(references("same2.mfd"), before);
}

// For another model the records it cannot keep are left out and logged, or take the default
// style: never a media record without its path.
TEST_F(CliE2e, MediaReferencesTheTargetCannotKeepAreLeftOutOrTakeTheDefault) {
  FileBuilder file = Sample();
  file.records.push_back(RecordBuilder{.number = 4, .style = mfd::kMediaStyle, .music = "Far"});
  file.fileRefs->push_back(FileRefBuilder{.position = 4, .path = "E:\\Music\\Far.mid"});
  File("m.mfd", file);
  WriteList("PSR-S770", "Pop Rock;12\r\nBallad;40\r\n");
  auto r =
      Run("convert " + P("m.mfd") + " --target PSR-S770 -o " + P("a.mfd") + " --log " + P("a.log"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "read 5, written 4, default style 0, dropped 1, media references 1\n");
  EXPECT_NE(ReadText(dir.Path() / "a.log").find("Far   HD:\\Music\\Far.mid   left out"),
            std::string::npos)
      << ReadText(dir.Path() / "a.log");
  r = Run("convert " + P("m.mfd") +
          " --target PSR-S770 --no-user-styles --default-style Ballad -o " + P("b.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "read 5, written 5, default style 3, dropped 0, media references 1\n");
  const auto b = ReadText(dir.Path() / "b.mfd");
  const std::vector<std::uint8_t> bytes(b.begin(), b.end());
  EXPECT_EQ(ReadU16(bytes, mfd::RecordOffset(5) + 2), 40);
}

// A default style the target's list lacks: exit 1 with the reason, nothing written; "None" and a
// listed style are accepted.
TEST_F(CliE2e, ADefaultStyleTheTargetLacksIsRefused) {
  File("s.mfd", Sample());
  for (const std::string style : {"Slow Waltz", "Nowhere"}) {
    const auto r = Run("convert " + P("s.mfd") + " --target PSR-2000 --no-user-styles " +
                       "--default-style " + Quote(style) + " -o " + P("out.mfd"));
    EXPECT_EQ(r.code, 1) << style;
    EXPECT_NE(r.err.find("the default style \"" + style +
                         "\" is not on the style list of PSR-2000; nothing was written"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(dir.Path() / "out.mfd")) << style;
  }
  for (const std::string style : {"None", "swing"}) {
    const auto r = Run("convert " + P("s.mfd") + " --target PSR-2000 --no-user-styles " +
                       "--default-style " + Quote(style) + " -o " + P(style + ".mfd"));
    EXPECT_EQ(r.code, 0) << style << ": " << r.err;
  }
}

}  // namespace
}  // namespace cadenzo
