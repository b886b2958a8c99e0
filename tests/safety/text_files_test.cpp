// SPDX-License-Identifier: GPL-3.0-or-later
// The text files the program reads from the user and the application folder: style lists and
// the replacement table as Linux editors write them, lists that are no text or far too large,
// odd style numbers and a last line without a line end in the import.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/replacement_table.h"
#include "mfd/byte_io.h"
#include "mfd/delimited_import.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "support/app_fixture.h"
#include "textio/delimited_export.h"

namespace cadenzo {
namespace {

using testing::AppFixture;
using testing::FileBuilder;
using testing::RecordBuilder;

std::string Utf16Le(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (const char c : ascii) out += std::string{c, '\0'};
  return out;
}

// Lines joined by a line end, the last one with or without it.
std::string Joined(const std::vector<std::string>& lines, const std::string& end, bool last) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  if (!last) text.resize(text.size() - end.size());
  return text;
}

const std::vector<std::string> kUtf8List = {"# list", "Cool Beat;291", "Pop Rock;12",
                                            "Caf\xC3\xA9 Jazz;5"};
const std::vector<std::string> kNames = {"Cool Beat", "Pop Rock", "Caf\xE9 Jazz"};
const std::vector<std::string> kNumbers = {"0291", "0012", "0005"};

constexpr char kBinaryBytes[] =
    "\x7F"
    "ELF\x02\x01\x01\0\0\0Cool Beat;291\r\n";
const std::string kBinaryList(kBinaryBytes, sizeof kBinaryBytes - 1);

struct ListCase {
  const char* name;
  std::string list;
  std::vector<std::string> styles;  // the rows' "Style or File" texts
  std::string problem;              // in the one message naming the list; empty: no message
};
void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

class StyleListFiles : public ::testing::TestWithParam<ListCase> {};

// A list as a Linux editor writes it gives the same styles as one with CR LF; a list that is no
// text is named once, with the reason, instead of reading as empty without a word.
TEST_P(StyleListFiles, AreReadOrNamedOnce) {
  const ListCase& c = GetParam();
  AppFixture fx;
  fx.dir.Write("app/PSR-S970.dat", c.list);
  fx.PutFile("in.mfd", FileBuilder{.records = {RecordBuilder{.number = 0, .style = 291},
                                               RecordBuilder{.number = 1, .style = 12},
                                               RecordBuilder{.number = 2, .style = 5}}}
                           .Build());
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  ASSERT_TRUE(fx.state.FileLoaded);
  // The preview and a second change of target read the list again; still one message.
  Presented(RunPreview(fx.state, fx.dialogs), fx.dialogs);
  std::vector<std::string> styles;
  for (const Row& row : fx.state.List) styles.emplace_back(row.Cell(col::kStyle));
  EXPECT_EQ(styles, c.styles);
  const auto texts = fx.dialogs.Texts();
  if (c.problem.empty()) {
    EXPECT_TRUE(texts.empty()) << texts.front();
    return;
  }
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find(fx.state.AppPath + "PSR-S970.dat"), std::string::npos) << texts[0];
  EXPECT_NE(texts[0].find(c.problem), std::string::npos) << texts[0];
}

INSTANTIATE_TEST_SUITE_P(
    Lists, StyleListFiles,
    ::testing::Values(
        ListCase{"LineFeeds", Joined(kUtf8List, "\n", true), kNames, ""},
        ListCase{"CarriageReturns", Joined(kUtf8List, "\r", true), kNames, ""},
        ListCase{"CrLfLastLineWithoutEnd", Joined(kUtf8List, "\r\n", false), kNames, ""},
        ListCase{"Utf8WithByteOrderMark", "\xEF\xBB\xBF" + Joined(kUtf8List, "\n", false), kNames,
                 ""},
        ListCase{"Utf16", Utf16Le(Joined(kUtf8List, "\r\n", true)), kNumbers, "UTF-16"},
        ListCase{"Binary", kBinaryList, kNumbers, "not a text file"},
        // Far more than any list holds: refused unread, not read for seconds.
        ListCase{"FiveMegabytes",
                 "Cool Beat;291\r\n" + std::string(5 << 20, '#') + "\r\nPop Rock;12\r\n", kNumbers,
                 "larger than 4 MB"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TableCase {
  const char* name;
  std::string table;
  std::string style;    // the row's text afterwards
  std::string problem;  // in the message naming the table; empty: no message
};
void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

class ReplacementTableFiles : public ::testing::TestWithParam<TableCase> {};

TEST_P(ReplacementTableFiles, AreReadOrNamed) {
  const TableCase& c = GetParam();
  AppFixture fx;
  fx.dir.Write("app/StyleReplacementTable.txt", c.table);
  Row row;
  row.SetCell(col::kStyle, "Cool Beat");
  fx.state.List.Add(std::move(row));
  cboStyle_setup(fx.state, fx.dialogs);
  EXPECT_EQ(fx.state.List[0].Cell(col::kStyle), c.style);
  const auto texts = fx.dialogs.Texts();
  if (c.problem.empty()) {
    EXPECT_TRUE(texts.empty()) << texts.front();
    return;
  }
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find(fx.state.AppPath + "StyleReplacementTable.txt"), std::string::npos)
      << texts[0];
  EXPECT_NE(texts[0].find(c.problem), std::string::npos) << texts[0];
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ReplacementTableFiles,
    ::testing::Values(
        TableCase{"LineFeeds", "# table\nFunk;Soul\nCool Beat;Caf\xC3\xA9 Jazz\n", "Caf\xE9 Jazz",
                  ""},
        TableCase{"LastLineWithoutEnd", "Funk;Soul\r\nCool Beat;Pop Rock", "Pop Rock", ""},
        TableCase{"Utf16", Utf16Le("Cool Beat;Pop Rock\r\n"), "Cool Beat", "UTF-16"},
        TableCase{"FiveMegabytes", "Cool Beat;Pop Rock\r\n" + std::string(5 << 20, '#') + "\r\n",
                  "Cool Beat", "larger than 4 MB"}),
    [](const auto& info) { return std::string(info.param.name); });

class ImportText : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}, {"Pop Rock", "12"}});
    fx.PutFile("in.mfd", FileBuilder{.records = {RecordBuilder{.style = 291}}}.Build());
    Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
    ASSERT_TRUE(fx.state.FileLoaded);
    fx.state.DefaultStyle = "Pop Rock";
    fx.dialogs.messages.clear();
  }

  static std::string Line(const std::string& style, const std::string& music = "Song") {
    return " 1\tPop\t" + music + "\t" + style + "\t 4/ 4\t120\tkw\tNo\tNo\tNo\tIntro 1\tMain A";
  }

  int StyleOf(int record) const {
    return ReadU16(fx.state.FileBytes,
                   mfd::RecordOffset(static_cast<std::size_t>(record)) + mfd::kStyle);
  }

  AppFixture fx;
};

// A style field that begins like a number but is not one, or a number above 65279 (0xFFxx means
// "no style" in a record), is left out and logged, even with user styles allowed; 0 is a style.
TEST_F(ImportText, OddStyleNumbersAreLeftOutAndLogged) {
  struct Case {
    std::string style;
    int number;  // -1: left out
  };
  const std::vector<Case> cases = {{"12abc", -1}, {"-5", -1},      {"+7", -1},       {"70000", -1},
                                   {"65280", -1}, {"65535", -1},   {"65279", 65279}, {"0", 0},
                                   {"0042", 42},  {"Pop Rock", 12}};
  std::string text = DelimitedHeaderLine() + "\r\n";
  for (const Case& c : cases) text += Line(c.style, "Song " + c.style) + "\r\n";
  const ImportResult result =
      Presented(ImportDelimitedText(fx.state, fx.dialogs, text), fx.dialogs);
  int record = 1;
  std::string log = "Item #\tGenre\tSong\tStyle\r\n";
  for (std::size_t i = 0; i < cases.size(); ++i) {
    if (cases[i].number < 0) {
      log +=
          std::to_string(i + 2) + "\tPop\tSong " + cases[i].style + "\t" + cases[i].style + "\r\n";
      continue;
    }
    ++record;
    EXPECT_EQ(StyleOf(record), cases[i].number) << cases[i].style;
  }
  EXPECT_EQ(result.imported, record - 1);
  EXPECT_EQ(result.leftOut, 6);
  EXPECT_EQ(HeaderCount(fx.state.FileBytes), record);
  EXPECT_EQ(testing::ReadText(fx.state.UserFolder + kImportLogFile), log + "\r\n");
}

// The last line of an import is read also without a line end, and LF or CR line ends read as
// CR LF does.
TEST_F(ImportText, LastLineWithoutLineEndIsImported) {
  const std::vector<std::string> lines = {DelimitedHeaderLine(), Line("Cool Beat"),
                                          Line("Pop Rock")};
  int expected = 1;
  for (const std::string end : {"\r\n", "\n", "\r"}) {
    const ImportResult result =
        Presented(ImportDelimitedText(fx.state, fx.dialogs, Joined(lines, end, false)), fx.dialogs);
    EXPECT_EQ(result.imported, 2) << end.size();
    EXPECT_FALSE(result.stopped);
    expected += 2;
    EXPECT_EQ(StyleOf(expected), 12);
  }
  EXPECT_EQ(HeaderCount(fx.state.FileBytes), expected);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

}  // namespace
}  // namespace cadenzo
