// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/replacement_table.h"

#include "app/runtime_error.h"

#include <gtest/gtest.h>

#include "support/app_fixture.h"
#include "support/list_rows.h"

namespace cadenzo {
namespace {

using testing::AppFixture;
using testing::MainRowBuilder;

struct ParseCase {
  const char* name;
  std::string text;
  int errorNumber;                                           // 0: no error
  std::vector<std::pair<std::string, std::string>> lookups;  // key to look up, expected value
};
void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class ReplacementTableParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ReplacementTableParseTest, ReadsKeysAndNewTexts) {
  const ParseCase& c = GetParam();
  const auto parse = ParseReplacementTable(c.text);
  if (c.errorNumber == 0) {
    EXPECT_FALSE(parse.error.has_value()) << parse.error->line;
  } else {
    ASSERT_TRUE(parse.error.has_value());
    EXPECT_EQ(parse.error->number, c.errorNumber);
  }
  for (const auto& [key, value] : c.lookups) {
    const std::string* found = parse.table.entries.Find(key);
    if (value == "<none>") {
      EXPECT_EQ(found, nullptr) << key;
    } else {
      ASSERT_NE(found, nullptr) << key;
      EXPECT_EQ(*found, value) << key;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReplacementTableParseTest,
    ::testing::Values(ParseCase{"BlanksAndCaseLeaveTheKey",
                                "  COOL 8 Beat ;Pop Rock\r\n",
                                0,
                                {{"cool8beat", "Pop Rock"}, {"COOL8BEAT", "Pop Rock"}}},
                      ParseCase{"NewTextKeepsBlanksAndFurtherSemicolons",
                                "Cool 8Beat; Pop Rock ;x\r\n",
                                0,
                                {{"cool8beat", " Pop Rock ;x"}}},
                      ParseCase{"CommentsAfterBlanksAreSkipped",
                                "   # Funk;Soul\r\nFunk;Groove\r\n",
                                0,
                                {{"#funk", "<none>"}, {"funk", "Groove"}}},
                      ParseCase{"AnEmptyLineEndsTheTable",
                                "Funk;Groove\r\n\r\nSoul;Pop\r\n",
                                0,
                                {{"funk", "Groove"}, {"soul", "<none>"}}},
                      ParseCase{"TheLastLineWithoutALineEndIsRead",
                                "Funk;Groove\r\nSoul;Pop",
                                0,
                                {{"funk", "Groove"}, {"soul", "Pop"}}},
                      ParseCase{"LineFeedsAndLoneCrsEndLines",
                                "Funk;Groove\nSoul;Pop\rJazz;Swing\n",
                                0,
                                {{"funk", "Groove"}, {"soul", "Pop"}, {"jazz", "Swing"}}},
                      ParseCase{"DuplicateByBlanks",
                                "Cool 8Beat;A\r\nCool8Beat;B\r\n",
                                err::kDuplicateKey,
                                {{"cool8beat", "A"}}},
                      ParseCase{"DuplicateByCase", "Funk;A\r\nFUNK;B\r\n", err::kDuplicateKey, {}},
                      ParseCase{"LineWithoutSemicolon",
                                "Funk;A\r\nSoul Pop\r\nJazz;B\r\n",
                                err::kInvalidCall,
                                {{"funk", "A"}, {"jazz", "<none>"}}}),
    [](const auto& info) { return std::string(info.param.name); });

class AutoReplaceTest : public ::testing::Test {
 protected:
  void WriteTable(const std::string& text) { fx.dir.Write("app/StyleReplacementTable.txt", text); }
  void SetRows(const std::vector<std::string>& styles) {
    std::vector<MainRowBuilder> rows;
    int n = 1;
    for (const auto& s : styles) rows.push_back(MainRowBuilder{.number = n++, .style = s});
    fx.state.List = testing::MakeList(rows);
  }
  std::vector<std::string> Styles() const {
    std::vector<std::string> out;
    for (const auto& row : fx.state.List) out.emplace_back(row.Cell(col::kStyle));
    return out;
  }
  AppFixture fx;
};

TEST_F(AutoReplaceTest, EverySpellingOfTheOldTextIsReplaced) {
  WriteTable("Cool 8Beat;Pop Rock\r\n");
  SetRows({"Cool 8Beat", "cool8beat", "COOL 8 BEAT", " Cool 8Beat ", "Cool 8Beat 2"});
  const auto result = cboStyle_setup(fx.state, fx.dialogs);
  EXPECT_EQ(Styles(), (std::vector<std::string>{"Pop Rock", "Pop Rock", "Pop Rock", "Pop Rock",
                                                "Cool 8Beat 2"}));
  EXPECT_EQ(result.replaced, 4);
  EXPECT_TRUE(result.refreshList);
  EXPECT_FALSE(fx.state.FileSaved);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST_F(AutoReplaceTest, LeadingBlankOfTheNewTextIsShown) {
  WriteTable("Cool 8Beat; Pop Rock\r\n");
  SetRows({"Cool 8Beat"});
  cboStyle_setup(fx.state, fx.dialogs);
  EXPECT_EQ(Styles(), std::vector<std::string>{" Pop Rock"});
}

TEST_F(AutoReplaceTest, ChainsMoveOneStep) {
  WriteTable("A;B\r\nB;C\r\n");
  SetRows({"A", "B", "C"});
  cboStyle_setup(fx.state, fx.dialogs);
  EXPECT_EQ(Styles(), (std::vector<std::string>{"B", "C", "C"}));
}

TEST_F(AutoReplaceTest, MediaRowsOnlyOnAnExactNormalisedKey) {
  WriteTable("USB:Songs/Hit.mid;Pop\r\nUSB:Songs;Jazz\r\n");
  SetRows({"USB:Songs/Hit.mid", "usb:songs/HIT.mid", "USB:Songs/Other.mid", "Preset:Songs"});
  cboStyle_setup(fx.state, fx.dialogs);
  EXPECT_EQ(Styles(),
            (std::vector<std::string>{"Pop", "Pop", "USB:Songs/Other.mid", "Preset:Songs"}));
}

TEST_F(AutoReplaceTest, BadTablesChangeNoRowAndAreReported) {
  for (const std::string table : {"Funk;A\r\nFUNK;B\r\n", "Funk;A\r\nno separator\r\n"}) {
    AppFixture local;
    local.dir.Write("app/StyleReplacementTable.txt", table);
    local.state.List = testing::MakeList({MainRowBuilder{.style = "Funk"}});
    const auto result = cboStyle_setup(local.state, local.dialogs);
    EXPECT_FALSE(result.applied);
    EXPECT_TRUE(result.refreshList);
    EXPECT_EQ(local.state.List[0].Cell(col::kStyle), "Funk");
    EXPECT_TRUE(local.state.FileSaved);
    ASSERT_EQ(local.dialogs.messages.size(), 1u);
    EXPECT_NE(local.dialogs.messages[0].text.find("encountered in Function cboStyle_setup."),
              std::string::npos)
        << local.dialogs.messages[0].text;
  }
}

TEST_F(AutoReplaceTest, MissingTableReplacesNothingSilently) {
  SetRows({"Funk"});
  const auto result = cboStyle_setup(fx.state, fx.dialogs);
  EXPECT_FALSE(result.applied);
  EXPECT_EQ(Styles(), std::vector<std::string>{"Funk"});
  EXPECT_TRUE(fx.state.FileSaved);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST_F(AutoReplaceTest, RecordsAndColoursStayAsTheyWere) {
  WriteTable("Funk;Soul\r\n");
  fx.state.FileBytes = {1, 2, 3};
  SetRows({"Funk"});
  fx.state.List[0].styleColor = kRed;
  cboStyle_setup(fx.state, fx.dialogs);
  EXPECT_EQ(fx.state.FileBytes, (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(fx.state.List[0].styleColor, kRed);
}

}  // namespace
}  // namespace cadenzo
