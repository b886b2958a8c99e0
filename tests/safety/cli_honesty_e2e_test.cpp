// SPDX-License-Identifier: GPL-3.0-or-later
// The built cadenzo-cli tells the truth about what it wrote: output that did not reach standard
// output fails the command, a log that cannot be written is refused before anything is written,
// a dump shows no control byte of a file to the terminal, and a NetCommon file is listed and
// converted without a question nobody can answer.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
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
using testing::FileRefBuilder;
using testing::Quote;
using testing::ReadText;
using testing::RecordBuilder;
using testing::RunResult;
using testing::TempDir;

class CliHonesty : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("app/PSR-S970.dat", std::string("# list\r\nCool Beat;0291\r\nPop Rock;12\r\n"));
    dir.Write("app/PSR-2000.dat", std::string("# list\r\nPop Rock;014\r\nSwing;030\r\n"));
    dir.Write("app/NetCommon.dat", std::string("# list\r\nCool Beat;291\r\nPop Rock;12\r\n"));
    fs::create_directories(dir.Path() / "user");
  }

  // The program with the fixture's folders and args, standard output sent to `out` (a path).
  RunResult Run(const std::string& args, const std::string& out) const {
    const std::string errPath = dir.Str() + "stderr";
    const std::string cmd = Quote(CADENZO_CLI) + " --app-dir " + P("app") + " --user-dir " +
                            P("user") + " " + args + " >" + Quote(out) + " 2>" + Quote(errPath) +
                            " </dev/null";
    const int status = std::system(cmd.c_str());
    RunResult r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (out != "/dev/full" && out != "/dev/null") r.out = ReadText(out);
    r.err = ReadText(errPath);
    return r;
  }
  RunResult Run(const std::string& args) const { return Run(args, dir.Str() + "stdout"); }

  std::string P(const std::string& name) const { return Quote(dir.Str() + name); }
  std::string File(const std::string& name, const FileBuilder& builder) const {
    return dir.Write(name, builder.Build()).string();
  }

  // A file of n records of the given model.
  static FileBuilder Songs(const std::string& model, int n) {
    FileBuilder f{.model = model};
    for (int i = 0; i < n; ++i) {
      f.records.push_back(RecordBuilder{.number = i,
                                        .style = i % 2 ? 291 : 12,
                                        .music = "Song number " + std::to_string(i),
                                        .keywords = "party,slow,dance"});
    }
    return f;
  }

  TempDir dir;
};

// Standard output that cannot take the text: every command that writes there fails with the
// system's reason, whether the text fits the output buffer or not.
TEST_F(CliHonesty, AFullStandardOutputFailsTheCommand) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  File("small.mfd", Songs("PSR-S970", 3));
  File("large.mfd", Songs("PSR-S970", 2000));  // a list of about 150 KiB
  ASSERT_GT(Run("list " + P("large.mfd")).out.size(), std::size_t{124} << 10);
  for (const std::string& args :
       {"list " + P("small.mfd"), "list " + P("large.mfd"), "dump " + P("small.mfd"),
        "info " + P("small.mfd"), std::string("--help"),
        "convert " + P("small.mfd") + " --target PSR-2000 -o " + P("out.mfd")}) {
    const RunResult r = Run(args, "/dev/full");
    EXPECT_EQ(r.code, 1) << args;
    EXPECT_NE(r.err.find("Disk is full."), std::string::npos) << args << ": " << r.err;
  }
  // Where standard output takes it all, the same commands succeed.
  EXPECT_EQ(Run("list " + P("large.mfd"), "/dev/null").code, 0);
}

// The log's folder is checked before the output is written; a missing user folder is made; a
// device takes the log, and a device that refuses it fails the command.
TEST_F(CliHonesty, TheLogAndTheUserFolderAreCheckedBeforeAnythingIsWritten) {
  File("s.mfd", Songs("PSR-S970", 3));
  const std::string convert = "convert " + P("s.mfd") + " --target PSR-2000 -o " + P("out.mfd");
  struct Case {
    const char* name;
    std::string extra;
    int code;
    bool written;      // out.mfd
    std::string said;  // on standard error
  };
  const std::vector<Case> cases = {
      {"log in a missing folder", " --log " + P("nowhere/log.txt"), 1, false,
       "the folder of the log"},
      {"log that is a folder", " --log " + P("user"), 1, false, "is a folder"},
      {"log to the null device", " --log /dev/null", 0, true, ""},
      {"missing user folder", " --user-dir " + P("new/user"), 0, true, ""},
      {"log to a full device", " --log /dev/full", 1, true, "Disk is full."},
  };
  for (const Case& c : cases) {
    fs::remove(dir.Path() / "out.mfd");
    const RunResult r = Run(convert + c.extra);
    EXPECT_EQ(r.code, c.code) << c.name << ": " << r.err;
    EXPECT_EQ(fs::exists(dir.Path() / "out.mfd"), c.written) << c.name;
    if (c.said.empty()) {
      EXPECT_EQ(r.err, "") << c.name;
    } else {
      EXPECT_NE(r.err.find(c.said), std::string::npos) << c.name << ": " << r.err;
    }
  }
  EXPECT_FALSE(fs::exists(dir.Path() / "nowhere"));
  // The folder made for the user holds the conversion log, as the default one would.
  EXPECT_TRUE(fs::is_regular_file(dir.Path() / "new/user/ExportLog.txt"));
}

// Paths with an escape sequence, a carriage return, a line feed and the bytes that decode to C1
// controls: the dump shows each control byte as \xNN, and the other letters as they are.
TEST_F(CliHonesty, DumpShowsNoControlByteOfAPath) {
  const std::string hostile =
      "I:\\\x1b[31mred\rX\n\x9d\x90\x7f"
      "Caf\xe9.mid";
  FileBuilder f = Songs("PSR-S970", 1);
  f.records.front().style = mfd::kMediaStyle;
  f.fileRefs = std::vector<FileRefBuilder>{{.position = 0, .path = hostile}};
  File("h.mfd", f);
  const RunResult r = Run("dump " + P("h.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  for (std::size_t i = 0; i < r.out.size(); ++i) {
    const auto c = static_cast<unsigned char>(r.out[i]);
    ASSERT_TRUE(c >= 0x20 || c == '\n') << "control byte " << int{c} << " at " << i;
    // No C1 control as UTF-8 (C2 80 to C2 9F).
    if (c == 0xC2 && i + 1 < r.out.size()) {
      ASSERT_FALSE(static_cast<unsigned char>(r.out[i + 1]) < 0xA0) << "C1 control at " << i;
    }
  }
  EXPECT_NE(r.out.find("path \"I:\\\\x1b[31mred\\x0dX\\x0a\\x9d\\x90\\x7fCaf\xc3\xa9.mid\""),
            std::string::npos)
      << r.out;
}

// A NetCommon file on the command line: listed without an answer, converted for --target, also
// when NetCommon is named with --source.
TEST_F(CliHonesty, NetCommonFilesAreListedAndConverted) {
  File("net.mfd", Songs("NetCommon", 2));
  File("other.mfd", Songs("PSR-S970", 2));
  for (const std::string& source : {std::string(), std::string(" --source NetCommon")}) {
    const std::string file = source.empty() ? "net.mfd" : "other.mfd";
    RunResult r = Run("list " + P(file) + source);
    EXPECT_EQ(r.code, 0) << source << ": " << r.err;
    EXPECT_EQ(r.err, "") << source;
    EXPECT_NE(r.out.find("\tCool Beat\t"), std::string::npos) << source << ": " << r.out;
    EXPECT_NE(r.out.find("\tPop Rock\t"), std::string::npos) << source << ": " << r.out;

    fs::remove(dir.Path() / "out.mfd");
    r = Run("convert " + P(file) + source + " --target PSR-2000 -o " + P("out.mfd"));
    EXPECT_EQ(r.code, 0) << source << ": " << r.err;
    EXPECT_NE(r.out.find("read 2, written "), std::string::npos) << source << ": " << r.out;
    // Written for the target: its model in the header, Pop Rock as its number 14.
    const std::string out = ReadText(dir.Path() / "out.mfd");
    ASSERT_GT(out.size(), mfd::RecordOffset(1) + 4) << source;
    EXPECT_EQ(out.substr(16, 8), "PSR-2000") << source;
    const auto* rec = reinterpret_cast<const unsigned char*>(out.data() + mfd::RecordOffset(1));
    EXPECT_EQ(rec[mfd::kStyle] * 256 + rec[mfd::kStyle + 1], 14) << source;
  }
}

}  // namespace
}  // namespace cadenzo
