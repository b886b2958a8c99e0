// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/style_list_view.h"

#include <gtest/gtest.h>

#include "support/builders.h"
#include "support/scripted_dialogs.h"

namespace cadenzo {
namespace {

struct ViewCase {
  const char* name;
  std::string model;
  std::vector<StyleListEntry> styles;
  std::string text;
};

void PrintTo(const ViewCase& c, std::ostream* os) { *os << c.name; }

class StyleListViewTextTest : public ::testing::TestWithParam<ViewCase> {};

TEST_P(StyleListViewTextTest, TitleThenTrimmedNames) {
  EXPECT_EQ(StyleListViewText(GetParam().model, GetParam().styles), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, StyleListViewTextTest,
    ::testing::Values(
        ViewCase{"names_trimmed_in_file_order",
                 "PSR-S970",
                 {{"  Cool 8Beat ", "0001"}, {"Pop Rock", "2"}, {"Bossa;Nova ", "0003"}},
                 "    PSR-S970 STYLES\r\n"
                 "Cool 8Beat\r\n"
                 "Pop Rock\r\n"
                 "Bossa;Nova\r\n"},
        ViewCase{"model_upper_cased_with_its_blank",
                 "Tyros 5",
                 {{"Swing", "12"}},
                 "    TYROS 5 STYLES\r\nSwing\r\n"},
        ViewCase{"windows_1252_letters_upper_cased", "caf\xE9", {}, "    CAF\xC9 STYLES\r\n"},
        ViewCase{"empty_list_gives_the_title_only", "GENOS", {}, "    GENOS STYLES\r\n"},
        ViewCase{"tabs_are_not_trimmed", "X", {{"\tA\t ", "1"}}, "    X STYLES\r\n\tA\t\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StyleListViewDocument, TitleUnindentedStylesIndented) {
  const RtfDocument doc = StyleListViewDocument("    GENOS STYLES\r\nSwing\r\nBallad\r\n");
  ASSERT_EQ(doc.paragraphs.size(), 4u);
  EXPECT_EQ(doc.paragraphs[0].Text(), U"    GENOS STYLES");
  EXPECT_EQ(doc.paragraphs[0].format.leftIndent, 0);
  EXPECT_EQ(doc.paragraphs[0].format.rightIndent, 0);
  for (std::size_t i = 1; i < doc.paragraphs.size(); ++i) {
    EXPECT_EQ(doc.paragraphs[i].format.leftIndent, 600) << i;
    EXPECT_EQ(doc.paragraphs[i].format.rightIndent, 600) << i;
  }
  EXPECT_EQ(doc.paragraphs[2].Text(), U"Ballad");
}

TEST(StyleListView, AsksForATargetFirst) {
  testing::ScriptedDialogs dialogs;
  AppState state;
  EXPECT_FALSE(StyleListView(state, dialogs).has_value());
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Please select a Target Instrument first"});
}

TEST(StyleListView, ShowsTheTargetsList) {
  testing::TempDir app;
  app.Write("PSR-S970.dat", std::string("# comment\r\n Cool 8Beat ;0001\r\nBallad;0002\r\n"));
  testing::ScriptedDialogs dialogs;
  AppState state;
  state.AppPath = app.Str();
  state.TargetInstrument = "PSR-S970";
  const auto doc = StyleListView(state, dialogs);
  ASSERT_TRUE(doc.has_value());
  EXPECT_EQ(doc->PlainText(), U"    PSR-S970 STYLES\nCool 8Beat\nBallad\n");
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace cadenzo
