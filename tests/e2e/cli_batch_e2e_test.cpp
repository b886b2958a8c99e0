// SPDX-License-Identifier: GPL-3.0-or-later
// The built cadenzo-cli: the dry run of a conversion, batches into a folder, and the JSON
// documents of info, list and convert read back by Python's JSON reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

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

// Every file under a folder, by path, but the runner's captured output streams.
std::set<std::string> FilesUnder(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name != "stdout" && name != "stderr") {
      files.insert(entry.path().string());
    }
  }
  return files;
}

int RecordsIn(const fs::path& file) {
  const std::string bytes = ReadText(file);
  return HeaderCount(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

class CliBatchE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.Path() / "app");
    fs::create_directories(dir.Path() / "user");
    fs::create_directories(dir.Path() / "out");
    dir.Write("app/PSR-S970.dat",
              "# example\r\nCool Beat;0291\r\nPop Rock;12\r\nFunk;77\r\nSlow Waltz;300\r\n");
    dir.Write("app/PSR-2000.dat", "# example\r\nPop Rock;014\r\nFunk1;020\r\nSwing;030\r\n");
  }

  RunResult Run(const std::string& args) { return RunCli(CADENZO_CLI, dir.Path(), args); }
  std::string P(const std::string& name) const { return Quote(dir.Str() + name); }
  fs::path At(const std::string& name) const { return dir.Path() / name; }

  // Five records for the PSR-2000: one whose style it lacks (kept as a user style), two
  // renumbered, a user style that stays as it is, and a media record it cannot keep.
  static FileBuilder Sample() {
    FileBuilder f;
    f.records = {RecordBuilder{.number = 0, .style = 291, .music = "Moon River"},
                 RecordBuilder{.number = 1, .style = 77, .music = "Caf\xE9 Song"},
                 RecordBuilder{.number = 2, .style = 12, .music = "Rock On"},
                 RecordBuilder{.number = 3, .style = 5000, .music = "Mine"},
                 RecordBuilder{.number = 4,
                               .style = mfd::kMediaStyle,
                               .numerator = 255,
                               .denominator = 255,
                               .tempo = 0xFFFF,
                               .music = "Hit"}};
    f.fileRefs =
        std::vector<FileRefBuilder>{{.position = 4, .type = 1, .path = "I:\\Songs\\Hit.mid"}};
    return f;
  }
  std::string Put(const std::string& name) { return dir.Write(name, Sample().Build()).string(); }

  // Reads a JSON document back with Python's reader and returns it as that reader prints it.
  std::string JsonTool(const std::string& json) {
    dir.Write("doc.json", json);
    const std::string printed = dir.Str() + "printed.json";
    const int status = std::system(
        ("python3 -m json.tool " + P("doc.json") + " >" + Quote(printed) + " 2>&1").c_str());
    EXPECT_EQ(status, 0) << ReadText(printed) << "\n" << json;
    return ReadText(printed);
  }

  TempDir dir;
};

TEST_F(CliBatchE2e, DryRunWritesNothingAndSaysWhatTheConversionWillWrite) {
  Put("in.mfd");
  const auto before = FilesUnder(dir.Path());
  const RunResult dry = Run("convert " + P("in.mfd") + " --target PSR-2000 -o " + P("out.mfd") +
                            " --log " + P("conv.log") + " --dry-run");
  ASSERT_EQ(dry.code, 0) << dry.err;
  EXPECT_EQ(FilesUnder(dir.Path()), before) << dry.out;  // no output, no log
  const std::string summary = dry.out.substr(0, dry.out.find('\n'));
  EXPECT_EQ(summary,
            "4 records will be written: 1 unchanged, 2 renumbered for the PSR-2000, 1 kept as a "
            "user style; "
            "1 left out: 1 media record the target cannot keep.");
  // One line for each record that changes, with its song as UTF-8.
  EXPECT_NE(dry.out.find("  Caf\xC3\xA9 Song   Funk -> Funk1 (0020)\n"), std::string::npos)
      << dry.out;
  EXPECT_NE(dry.out.find("  Hit   USB:\\Songs\\Hit.mid   left out: PSR-2000 cannot keep"),
            std::string::npos)
      << dry.out;
  EXPECT_EQ(std::count(dry.out.begin(), dry.out.end(), '\n'), 1 + 4);

  const RunResult real = Run("convert " + P("in.mfd") + " --target PSR-2000 -o " + P("out.mfd"));
  ASSERT_EQ(real.code, 0) << real.err;
  EXPECT_EQ(RecordsIn(At("out.mfd")), 4);
  // A file the save cannot read fails the dry run as it fails the conversion.
  dir.Write("bad.mfd", std::string("not a music finder file"));
  EXPECT_EQ(Run("convert " + P("bad.mfd") + " --target PSR-2000 --dry-run").code,
            Run("convert " + P("bad.mfd") + " --target PSR-2000 -o " + P("x.mfd")).code);
  EXPECT_FALSE(fs::exists(At("x.mfd")));
}

TEST_F(CliBatchE2e, BatchConvertsTheGoodFilesAndFailsForTheBadOne) {
  const std::string a = Put("in/A.mfd");
  dir.Write("in/B.mfd", std::string("MFDX not enough bytes"));
  const std::string c = Put("in/C.mfd");
  const RunResult r = Run("convert " + P("in/A.mfd") + " " + P("in/B.mfd") + " " + P("in/C.mfd") +
                          " --target PSR-2000 -d " + P("out"));
  EXPECT_EQ(r.code, 1) << r.err;
  for (const char* name : {"A", "C"}) {
    EXPECT_EQ(RecordsIn(At("out/" + std::string(name) + ".mfd")), 4) << name;
    EXPECT_NE(ReadText(At("out/" + std::string(name) + ".log.txt"))
                  .find("Hit   USB:\\Songs\\Hit.mid   left out: PSR-2000 cannot keep"),
              std::string::npos)
        << name;
  }
  EXPECT_FALSE(fs::exists(At("out/B.mfd")));
  EXPECT_FALSE(fs::exists(At("out/B.log.txt")));
  // A line for every file, in the order given.
  const std::regex lines("(.*)\n(.*)\n(.*)\n");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(r.out, m, lines)) << r.out;
  EXPECT_TRUE(m[1].str().starts_with(a + ": read 5, written 4")) << m[1];
  EXPECT_TRUE(m[2].str().starts_with(dir.Str() + "in/B.mfd: not converted")) << m[2];
  EXPECT_TRUE(m[3].str().starts_with(c + ": read 5, written 4")) << m[3];

  // With --log every file's log goes to that one file, a section each.
  const RunResult joined = Run("convert " + P("in/A.mfd") + " " + P("in/C.mfd") +
                               " --target PSR-2000 -d " + P("out") + " --log " + P("all.txt"));
  EXPECT_EQ(joined.code, 0) << joined.err;
  const std::string log = ReadText(At("all.txt"));
  EXPECT_NE(log.find("---- " + a + " ----\r\nStyle conversions"), std::string::npos) << log;
  EXPECT_NE(log.find("---- " + c + " ----\r\nStyle conversions"), std::string::npos) << log;
}

TEST_F(CliBatchE2e, BatchesThatWouldWriteOverAFileAreRefusedBeforeAnything) {
  Put("one/A.mfd");
  Put("two/A.mfd");
  Put("two/B.mfd");
  const std::string input = ReadText(At("two/B.mfd"));
  struct Case {
    const char* what;
    std::string args;
  };
  const Case cases[] = {
      {"two inputs of one name", P("one/A.mfd") + " " + P("two/A.mfd") + " -d " + P("out")},
      {"-o with several inputs", P("one/A.mfd") + " " + P("two/B.mfd") + " -o " + P("x.mfd")},
      {"-o and -d", P("one/A.mfd") + " -o " + P("x.mfd") + " -d " + P("out")},
      {"an output that is an input", P("one/A.mfd") + " " + P("two/B.mfd") + " -d " + P("two")},
      {"a log that is an input",
       P("one/A.mfd") + " " + P("two/B.mfd") + " -d " + P("out") + " --log " + P("two/B.mfd")},
  };
  for (const Case& c : cases) {
    const RunResult r = Run("convert " + c.args + " --target PSR-2000");
    EXPECT_EQ(r.code, 2) << c.what << "\n" << r.err;
    EXPECT_TRUE(fs::is_empty(At("out"))) << c.what;
    EXPECT_FALSE(fs::exists(At("x.mfd"))) << c.what;
    EXPECT_EQ(ReadText(At("two/B.mfd")), input) << c.what;
    EXPECT_FALSE(fs::exists(At("two/A.log.txt"))) << c.what;
  }
}

TEST_F(CliBatchE2e, JsonDocumentsCarryTheFacts) {
  Put("in/A.mfd");
  Put("in/C.mfd");
  struct Case {
    std::string args;
    std::vector<std::string> facts;  // as Python's reader prints them
  };
  const Case cases[] = {
      {"info " + P("in/A.mfd"), {"\"recordCount\": 5", "\"sourceInstrument\": \"PSR-S970\""}},
      {"list " + P("in/A.mfd"),
       {"\"recordCount\": 5", "\"Music\": \"Caf\\u00e9 Song\"", "\"Style\": \"Funk\""}},
      {"convert " + P("in/A.mfd") + " --target PSR-2000 -o " + P("out/A.mfd"),
       {"\"written\": 4", "\"ok\": true", "\"mediaTargetCannotKeep\": 1"}},
      {"convert " + P("in/A.mfd") + " --target PSR-2000 --dry-run",
       {"\"written\": 4", "\"dryRun\": true", "\"to\": \"Funk1 (0020)\"",
        "\"summary\": \"4 records will be written"}},
      {"convert " + P("in/A.mfd") + " " + P("in/C.mfd") + " --target PSR-2000 -d " + P("out"),
       {"\"failed\": 0", "\"output\": \"" + dir.Str() + "out/C.mfd\""}},
  };
  for (const Case& c : cases) {
    const RunResult r = Run(c.args + " --json");
    ASSERT_EQ(r.code, 0) << c.args << "\n" << r.err;
    const std::string printed = JsonTool(r.out);
    for (const std::string& fact : c.facts) {
      EXPECT_NE(printed.find(fact), std::string::npos) << c.args << ": " << fact << "\n" << printed;
    }
  }
  EXPECT_EQ(RecordsIn(At("out/C.mfd")), 4);
  EXPECT_EQ(Run("list " + P("in/A.mfd") + " --json -o " + P("x.txt")).code, 2);
}

}  // namespace
}  // namespace cadenzo
