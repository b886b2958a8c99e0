// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built cadenzo-cli through the delimited text road: export, edit the text, import it
// into the file again, and check the bytes of the saved file.
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

using Bytes = std::vector<std::uint8_t>;

const std::string kHeader =
    "Number\tGenre    \tMusic         \tStyle    \tTimeSig\tTempo\tKeywords\tFavorites\tSearch "
    "1\tSearch 2\tIntro\tSection\r\n";

// The 92 bytes of record n (from 1) of a file image.
Bytes RecordOf(const Bytes& file, int n) {
  const auto r = static_cast<std::ptrdiff_t>(mfd::RecordOffset(static_cast<std::size_t>(n)));
  return Bytes(file.begin() + r, file.begin() + r + static_cast<std::ptrdiff_t>(mfd::kRecordSize));
}

// A record without its number, which a save or an import gives anew.
Bytes WithoutNumber(Bytes record) {
  record[0] = record[1] = 0;
  return record;
}

class CliTextE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.Path() / "user");
    dir.Write("app/PSR-S970.dat",
              std::string("# example\r\nCool Beat;0291\r\nPop Rock;12\r\nFunk;77\r\n"
                          "Slow Waltz;300\r\n"));
    dir.Write("s.mfd", Sample().Build());
  }

  RunResult Run(const std::string& args) { return RunCli(CADENZO_CLI, dir.Path(), args); }

  std::string P(const std::string& name) const { return Quote(dir.Str() + name); }
  Bytes Read(const std::string& name) const {
    const std::string text = ReadText(dir.Path() / name);
    return Bytes(text.begin(), text.end());
  }

  static FileBuilder Sample() {
    return FileBuilder{
        .records = {RecordBuilder{.number = 0,
                                  .style = 291,
                                  .tempo = 96,
                                  .flags = 1,
                                  .music = "Moon River",
                                  .genre = "Ballad",
                                  .keywords = "slow"},
                    RecordBuilder{.number = 1,
                                  .style = 77,
                                  .numerator = 3,
                                  .denominator = 4,
                                  .tempo = 120,
                                  .flags = 6,
                                  .music = "Caf\xE9 Song",
                                  .genre = "Latin",
                                  .intro = 0,
                                  .next = 10},
                    RecordBuilder{.number = 2, .style = 5000, .music = "Mine", .genre = "Own"}}};
  }

  TempDir dir;
};

TEST_F(CliTextE2e, ExportEditImportSavesTheEditedCopies) {
  auto r = Run("export " + P("s.mfd") + " -o " + P("list.txt"));
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string exported = ReadText(dir.Path() / "list.txt");
  EXPECT_EQ(exported, Run("list " + P("s.mfd")).out);
  const std::string songLine =
      " 2\tLatin\tCaf\xE9 Song\tFunk\t 3/ 4\t120\t\tNo\tYes\tYes\tOff\tEnding 3";
  ASSERT_NE(exported.find(songLine + "\r\n"), std::string::npos) << exported;

  // A changed tempo on one line and a new line with a style of the source list.
  std::string edited = exported;
  edited.replace(edited.find(songLine) + songLine.find("120"), 3, "132");
  edited +=
      " 4\tWaltz\tBlue Danube\tSlow Waltz\t 3/ 4\t 88\tclassic\tyes\tNo\tYES\tIntro 2\t"
      "Ending 1\r\n";
  dir.Write("edited.txt", edited);

  r = Run("import " + P("s.mfd") + " " + P("edited.txt") + " -o " + P("out.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "imported 4, left out 0\nread 7, written 7, default style 0, dropped 0, media "
            "references 0\n");
  EXPECT_EQ(r.err, "");
  EXPECT_FALSE(fs::exists(dir.Path() / "user/ImportLog.txt"));

  const Bytes in = Read("s.mfd");
  const Bytes out = Read("out.mfd");
  ASSERT_EQ(HeaderCount(out), 7);
  ASSERT_GE(out.size(), mfd::RecordOffset(8));
  for (int n = 1; n <= 3; ++n) {
    // The earlier records as they were; the copies with numbers of their own.
    EXPECT_EQ(RecordOf(out, n), RecordOf(in, n)) << n;
    const Bytes copy = RecordOf(out, n + 3);
    EXPECT_EQ(ReadU16(copy, mfd::kNumber), n + 2) << n;
    Bytes expected = WithoutNumber(RecordOf(in, n));
    if (n == 2) WriteU16(expected, mfd::kTempo, 132);
    EXPECT_EQ(WithoutNumber(copy), expected) << n;
  }
  const Bytes added = RecordOf(out, 7);
  EXPECT_EQ(ReadU16(added, mfd::kNumber), 6);
  EXPECT_EQ(ReadU16(added, mfd::kStyle), 300);
  EXPECT_EQ(added[mfd::kTimeSigNumerator], 3);
  EXPECT_EQ(added[mfd::kTimeSigDenominator], 4);
  EXPECT_EQ(ReadU16(added, mfd::kTempo), 88);
  EXPECT_EQ(added[mfd::kFlags], mfd::kFavorite | mfd::kSearch2);
  EXPECT_EQ(DecodeMusic(added, 0), "Blue Danube");
  EXPECT_EQ(DecodeGenre(added, 0), "Waltz");
  EXPECT_EQ(DecodeKeywords(added, 0), "classic");
  EXPECT_EQ(added[mfd::kSections], 0x28);  // Intro 2, Ending 1
}

TEST_F(CliTextE2e, ExportReplacesAnOldFileAndFailsWithoutAFolder) {
  dir.Write("old.txt", std::string("old contents"));
  auto r = Run("export " + P("s.mfd") + " --style-numbers -o " + P("old.txt"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadText(dir.Path() / "old.txt"), Run("list --style-numbers " + P("s.mfd")).out);
  EXPECT_NE(ReadText(dir.Path() / "old.txt").find("\tMoon River\t0291\t"), std::string::npos);

  r = Run("export " + P("s.mfd") + " -o " + P("none/list.txt"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("That path doesn't exist."), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir.Path() / "none"));
}

TEST_F(CliTextE2e, StylesOffTheListFollowTheUserStyleOptions) {
  const std::string text = kHeader + " 1\tJazz\tTune\tMystery Beat\t 4/ 4\t100\t\tNo\tNo\tNo\r\n" +
                           " 2\tRock\tLoud\tfunk\t\t\t\tNo\tNo\tNo\r\n";
  dir.Write("t.txt", text);

  // Left out and logged; the old record of a user style keeps it on its own model.
  auto r = Run("import " + P("s.mfd") + " " + P("t.txt") +
               " --no-user-styles --default-style Funk -o " + P("a.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "imported 1, left out 1\nread 4, written 4, default style 0, dropped 0, media "
            "references 0\n");
  EXPECT_NE(r.err.find("Some entries could not be stored because the style indicated does not "
                       "exist on the source instrument. See " +
                       dir.Str() + "user/ImportLog.txt for details"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(ReadText(dir.Path() / "user/ImportLog.txt"),
            "Item #\tGenre\tSong\tStyle\r\n2\tJazz\tTune\tmysterybeat\r\n\r\n");
  Bytes out = Read("a.mfd");
  ASSERT_EQ(HeaderCount(out), 4);
  EXPECT_EQ(ReadU16(RecordOf(out, 3), mfd::kStyle), 5000);
  EXPECT_EQ(ReadU16(RecordOf(out, 4), mfd::kStyle), 77);
  EXPECT_EQ(DecodeMusic(RecordOf(out, 4), 0), "Loud");

  // With user styles the line comes in with the default style's number, the old record as is.
  fs::remove(dir.Path() / "user/ImportLog.txt");
  r = Run("import " + P("s.mfd") + " " + P("t.txt") + " --default-style 'Pop Rock' -o " +
          P("b.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "imported 2, left out 0");
  EXPECT_FALSE(fs::exists(dir.Path() / "user/ImportLog.txt"));
  out = Read("b.mfd");
  ASSERT_EQ(HeaderCount(out), 5);
  EXPECT_EQ(ReadU16(RecordOf(out, 3), mfd::kStyle), 5000);
  EXPECT_EQ(ReadU16(RecordOf(out, 4), mfd::kStyle), 12);
  EXPECT_EQ(DecodeMusic(RecordOf(out, 4), 0), "Tune");
}

struct FailedImport {
  const char* name;
  std::string text;  // the text file's contents; empty: no such file
  std::string message;
};

TEST_F(CliTextE2e, AnImportThatStopsWritesNothing) {
  const std::string good = " 1\tPop\tSong\tFunk\t 4/ 4\t120\t\tNo\tNo\tNo\tIntro 1\tMain A\r\n";
  const std::string problem = "There is a problem (e.g. extra carriage return) in this line 2\r";
  const std::vector<FailedImport> cases = {
      {"nine fields", kHeader + good + "1\tPop\tSong\tFunk\t\t120\tkw\tNo\tNo\r\n" + good, problem},
      {"eleven fields", kHeader + good + "1\tPop\tSong\tFunk\t\t120\tkw\tNo\tNo\tNo\tIntro 1\r\n",
       problem},
      {"tempo above 32767", kHeader + good + "1\tPop\tSong\tFunk\t\t40000\t\tNo\tNo\tNo\r\n",
       problem},
      {"UTF-16 text", std::string("\xFF\xFEN\0u\0m\0\r\0\n\0", 12), "it is UTF-16 text"},
      {"missing text", "", "This file is Not found."},
  };
  for (const auto& c : cases) {
    fs::remove(dir.Path() / "t.txt");
    if (!c.text.empty()) dir.Write("t.txt", c.text);
    dir.Write("out.mfd", std::string("the user's own file"));
    const auto r = Run("import " + P("s.mfd") + " " + P("t.txt") + " -o " + P("out.mfd"));
    EXPECT_EQ(r.code, 1) << c.name;
    // Messages come one to a line: the line break before the quoted line becomes a blank.
    std::string message = c.message;
    if (!message.empty() && message.back() == '\r') message.back() = ' ';
    EXPECT_NE(r.err.find(message), std::string::npos) << c.name << ": " << r.err;
    EXPECT_EQ(ReadText(dir.Path() / "out.mfd"), "the user's own file") << c.name;
    EXPECT_EQ(r.out, "") << c.name;
  }
}

TEST_F(CliTextE2e, AnUnrecognisedModelNeedsASource) {
  FileBuilder mystery = Sample();
  mystery.model = "MYSTERY";
  dir.Write("m.mfd", mystery.Build());
  dir.Write("t.txt", kHeader + " 1\tPop\tNew\tPop Rock\t\t\t\tNo\tNo\tNo\r\n");
  auto r = Run("import " + P("m.mfd") + " " + P("t.txt") + " -o " + P("out.mfd"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("is not recognised; name it with --source MODEL"), std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(dir.Path() / "out.mfd"));

  r = Run("import " + P("m.mfd") + " " + P("t.txt") + " --source PSR-S970 -o " + P("out.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  const Bytes out = Read("out.mfd");
  ASSERT_EQ(HeaderCount(out), 4);
  EXPECT_EQ(ReadU16(RecordOf(out, 4), mfd::kStyle), 12);
}

TEST_F(CliTextE2e, UsageErrorsExitWithTwo) {
  for (const std::string args :
       {"export s.mfd", "export s.mfd -o", "export s.mfd -o x.txt --log y", "import s.mfd -o x",
        "import s.mfd t.txt", "import s.mfd t.txt u.txt -o x",
        "import s.mfd t.txt -o x --target PSR-2000", "import s.mfd t.txt -o x --style-numbers",
        "list s.mfd t.txt"}) {
    const auto r = Run(args);
    EXPECT_EQ(r.code, 2) << args;
    EXPECT_NE(r.err.find("Usage: cadenzo-cli"), std::string::npos) << args;
  }
  const auto help = Run("--help");
  for (const char* form : {"export FILE.mfd -o OUT.txt [--source MODEL] [--style-numbers]",
                           "import FILE.mfd TEXT.txt -o OUT.mfd [--source MODEL]"}) {
    EXPECT_NE(help.out.find(form), std::string::npos) << form;
  }
}

}  // namespace
}  // namespace cadenzo
