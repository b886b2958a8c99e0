// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/style_number_table.h"

#include <gtest/gtest.h>

#include "app/runtime_error.h"
#include "support/builders.h"

namespace cadenzo {
namespace {

TEST(StyleNumberTableTest, ParsesByTheListRules) {
  const StyleNumberTable table = ParseStyleNumberTable(
      "# comment;999\r\n"
      "   #indented comment;998\r\n"
      "Cool 8Beat;0012\r\n"
      "  Big  Band ; 0300 \r\n"
      "Zero;0000\r\n"
      "no semicolon here\r\n"
      "Cool8beat;0044\r\n"
      "Semi;12;3\r\n"
      "Empty;\r\n"
      "\xC9tude;7\r\n"
      "\r\n"
      "After Blank;5\r\n"
      "Unterminated;6");
  const StyleNumberTable expected = {{"cool8beat", "12"}, {"bigband", "300"}, {"zero", "0"},
                                     {"semi", "12;3"},    {"empty", "0"},     {"\xE9tude", "7"}};
  EXPECT_EQ(table, expected);
}

TEST(StyleNumberTableTest, EveryLineEndEndsALine) {
  const StyleNumberTable expected = {{"pop", "1"}, {"rock", "2"}, {"jazz", "3"}};
  EXPECT_EQ(ParseStyleNumberTable("Pop;1\nRock;2\rJazz;3"), expected);
  EXPECT_TRUE(ParseStyleNumberTable("").empty());
}

TEST(StyleNumberTableTest, RowTextsMatchWhateverTheirBlanksAndCase) {
  const StyleNumberTable table = ParseStyleNumberTable("Cool 8Beat;0012\r\n");
  for (const char* text : {"Cool 8Beat", "cool  8beat", "COOL8BEAT", " Cool 8 Beat  "}) {
    EXPECT_EQ(table.count(StyleNumberKey(text)), 1u) << text;
  }
  EXPECT_EQ(table.count(StyleNumberKey("USB:\\Songs\\Cool 8Beat.mid")), 0u);
}

TEST(StyleNumberTableTest, ReadsTheModelsFileFromTheApplicationFolder) {
  testing::TempDir dir;
  dir.Write("PSR-S970.dat", std::string("Pop;0042\r\n"));
  EXPECT_EQ(ReadStyleNumberTable(dir.Str(), "PSR-S970"), (StyleNumberTable{{"pop", "42"}}));
  EXPECT_TRUE(ReadStyleNumberTable(dir.Str(), "TYROS").empty());
}

TEST(StyleNumberTableTest, NumberTextsToWholeNumbers) {
  EXPECT_EQ(StyleNumberOf("12"), 12);
  EXPECT_EQ(StyleNumberOf("0"), 0);
  EXPECT_EQ(StyleNumberOf("65535"), 65535);
  struct Bad {
    const char* text;
    int number;
  };
  for (const Bad& b : {Bad{"", err::kTypeMismatch}, Bad{"12a", err::kTypeMismatch},
                       Bad{"12;3", err::kTypeMismatch}, Bad{"-4", err::kTypeMismatch},
                       Bad{"99999999999", err::kOverflow}}) {
    try {
      StyleNumberOf(b.text);
      ADD_FAILURE() << b.text;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), b.number) << b.text;
    }
  }
}

}  // namespace
}  // namespace cadenzo
