// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace cadenzo::cli {
namespace {

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word == "''" ? "" : word);
  return words;
}

Options Make(std::string command, std::string file) {
  Options o;
  o.command = std::move(command);
  o.file = std::move(file);
  return o;
}

TEST(CliOptions, ReadsEveryCommandWithItsOptions) {
  struct Case {
    const char* args;
    Options expected;
  };
  std::vector<Case> cases;
  cases.push_back({"info f.mfd", Make("info", "f.mfd")});
  cases.push_back({"dump f.mfd", Make("dump", "f.mfd")});
  {
    Options o = Make("list", "f.mfd");
    o.appDir = "A";
    o.userDir = "U";
    o.source = "S";
    o.styleNumbers = true;
    o.output = "out.txt";
    // The folders go before or after the command; options and arguments in any order.
    cases.push_back(
        {"--app-dir A list --source S f.mfd --user-dir U --style-numbers -o out.txt", o});
  }
  {
    Options o = Make("export", "f.mfd");
    o.output = "-";
    cases.push_back({"export f.mfd -o -", o});
  }
  {
    Options o = Make("convert", "f.mfd");
    o.target = "T";
    o.output = "o.mfd";
    o.noUserStyles = true;
    o.overCapacity = true;
    o.log = "l.txt";
    o.hasDefaultStyle = true;  // given, though empty
    cases.push_back(
        {"convert f.mfd --target T -o o.mfd --no-user-styles --default-style '' --over-capacity "
         "--log l.txt",
         o});
  }
  {
    Options o = Make("import", "f.mfd");
    o.text = "t.txt";
    o.output = "o.mfd";
    o.defaultStyle = "8Beat";
    o.hasDefaultStyle = true;
    o.source = "second";  // a repeated option keeps its last value
    cases.push_back(
        {"import f.mfd --source first t.txt -o o.mfd --default-style 8Beat --source second", o});
  }
  {
    // Several inputs into a folder; the first is the file, the others follow in order.
    Options o = Make("convert", "a/x.mfd");
    o.moreFiles = {"b/y.mfd", "z.mfd"};
    o.target = "T";
    o.outDir = "out";
    o.json = true;
    cases.push_back({"convert a/x.mfd b/y.mfd --target T -d out z.mfd --json", o});
  }
  {
    // A dry run needs no output.
    Options o = Make("convert", "x.mfd");
    o.moreFiles = {"y.mfd"};
    o.target = "T";
    o.dryRun = true;
    cases.push_back({"convert x.mfd y.mfd --target T --dry-run", o});
  }
  {
    Options o = Make("info", "f.mfd");
    o.json = true;
    cases.push_back({"info f.mfd --json", o});
  }
  // A file may bear a command's name.
  cases.push_back({"list info", Make("list", "info")});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    try {
      EXPECT_EQ(Parse(Split(c.args)), c.expected);
    } catch (const UsageError& e) {
      ADD_FAILURE() << e.message;
    }
  }
}

TEST(CliOptions, RefusesWhatACommandDoesNotTake) {
  for (const char* args : {
           "",
           "frobnicate x.mfd",
           "--bogus list x.mfd",
           "--source S list x.mfd",  // a command's option before the command
           "info",
           "info x.mfd y.mfd",
           "list x.mfd --bogus",
           "info x.mfd --no-user-styles",
           "dump x.mfd -o y.txt",
           "list x.mfd --target T",
           "list x.mfd --log l.txt",
           "export x.mfd",
           "export x.mfd -o",
           "export x.mfd -o x.txt --log y",
           "convert x.mfd -o y.mfd",
           "convert x.mfd --target T",
           "convert x.mfd --target",
           "convert x.mfd --target T -o y.mfd --style-numbers",
           "import x.mfd -o y.mfd",
           "import x.mfd t.txt",
           "import x.mfd t.txt u.txt -o y.mfd",
           "import x.mfd t.txt -o y.mfd --target T",
           "list x.mfd info",
           "--app-dir",
           "list x.mfd --user-dir",
           // An empty argument is a missing one.
           "info ''",
           "import x.mfd '' -o y.mfd",
           "export x.mfd -o ''",
           "convert x.mfd --target '' -o y.mfd",
           // Batches: -o takes one output, several inputs need a folder, and no two inputs may
           // write to one name.
           "convert x.mfd y.mfd --target T -o z.mfd",
           "convert x.mfd y.mfd --target T",
           "convert x.mfd --target T -o y.mfd -d out",
           "convert a/x.mfd b/x.mfd --target T -d out",
           "convert a/x.mfd b/x.mfd --target T --dry-run",
           "convert a/x.mfd x.MFD --target T -d out",  // both would log to out/x.log.txt
           "convert x.mfd '' --target T -d out",
           "info x.mfd --dry-run",
           "list x.mfd -d out",
           "dump x.mfd --json",
           "export x.mfd -o y.txt --json",
           "list x.mfd --json -o y.txt",
       }) {
    EXPECT_THROW(Parse(Split(args)), UsageError) << args;
  }
}

}  // namespace
}  // namespace cadenzo::cli
