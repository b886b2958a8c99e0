// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/delete_commands.h"

#include <gtest/gtest.h>

#include "app/command_availability.h"
#include "list/row_commands.h"
#include "list/rows_fixture.h"
#include "support/shown.h"

namespace cadenzo {
namespace {

using testing::MainRowBuilder;
using testing::RowsFixture;

MainRowBuilder FullRow(int number, std::string style) {
  return MainRowBuilder{.number = number,
                        .genre = "Jazz",
                        .music = "Song",
                        .style = std::move(style),
                        .timeSig = " 4/ 4",
                        .tempo = "120",
                        .keywords = "Swing",
                        .fav = "Yes",
                        .s1 = "No",
                        .s2 = "Yes",
                        .intro = "Intro 2",
                        .next = "Main C"};
}

void ExpectDeleted(const Row& row, int number) {
  EXPECT_EQ(row.Cell(col::kNumber), NumberText(number));
  EXPECT_EQ(row.Cell(col::kGenre), "deleted");
  for (int c : {col::kMusic, col::kStyle, col::kTimeSig, col::kTempo, col::kKeywords}) {
    EXPECT_EQ(row.Cell(c), "") << "column " << c;
  }
  EXPECT_EQ(row.Cell(col::kFav), "Yes");
  EXPECT_EQ(row.Cell(col::kS1), "No");
  EXPECT_EQ(row.Cell(col::kS2), "Yes");
  EXPECT_EQ(row.Cell(col::kIntro), "Intro 2");
  EXPECT_EQ(row.Cell(col::kNext), "Main C");
}

struct SingleCase {
  const char* style;
  bool refused;
};

class DeleteSelectedTest : public ::testing::TestWithParam<SingleCase> {};

TEST_P(DeleteSelectedTest, ProtectsOnlyRowsInTheUserArea) {
  RowsFixture fx;
  fx.Load({FullRow(1, "Cool 8Beat"), FullRow(2, GetParam().style)});
  const auto bytes = fx.state.FileBytes;
  const auto before = fx.state.List[1].cells;
  Shown(SelectRow(fx.state, 1), fx.dialogs);
  Shown(DeleteSelectedRow(fx.state), fx.dialogs);
  if (GetParam().refused) {
    ASSERT_EQ(fx.dialogs.Texts(),
              std::vector<std::string>{
                  "This is a Preset file in the User Area and it cannot be deleted from Cadenzo"});
    EXPECT_EQ(fx.state.List[1].cells, before);
    EXPECT_TRUE(fx.state.FileSaved);
  } else {
    EXPECT_TRUE(fx.dialogs.messages.empty());
    ExpectDeleted(fx.state.List[1], 2);
    EXPECT_FALSE(fx.state.FileSaved);
  }
  EXPECT_EQ(fx.state.List[0].Cell(col::kGenre), "Jazz");
  EXPECT_EQ(fx.state.FileBytes, bytes);
}

INSTANTIATE_TEST_SUITE_P(Styles, DeleteSelectedTest,
                         ::testing::Values(SingleCase{"User:/Styles/Mine.sty", true},
                                           SingleCase{"User:", true},
                                           SingleCase{"user:/Styles/Mine.sty", false},
                                           SingleCase{"Preset:/Styles/Pop.sty", false},
                                           SingleCase{"USB:/Songs/a.mid", false},
                                           SingleCase{"Cool 8Beat", false}, SingleCase{"", false}));

TEST(DeleteSelected, WithoutAClickedRowAsksForOne) {
  RowsFixture fx;
  fx.Load({FullRow(1, "Cool 8Beat")});
  fx.state.List.SelectOnly(0);  // highlighted by a search, never clicked
  Shown(DeleteSelectedRow(fx.state), fx.dialogs);
  EXPECT_EQ(fx.dialogs.Texts(),
            std::vector<std::string>{"Please select an item in the list first."});
  EXPECT_EQ(fx.state.List[0].Cell(col::kGenre), "Jazz");
  EXPECT_TRUE(fx.state.FileSaved);
}

TEST(DeleteSelected, TwiceLeavesTheRowAsAfterTheFirstAndMarksTheFileAgain) {
  RowsFixture fx;
  fx.Load({FullRow(1, "Cool 8Beat")});
  Shown(SelectRow(fx.state, 0), fx.dialogs);
  Shown(DeleteSelectedRow(fx.state), fx.dialogs);
  const auto once = fx.state.List[0].cells;
  fx.state.FileSaved = true;
  Shown(DeleteSelectedRow(fx.state), fx.dialogs);
  EXPECT_EQ(fx.state.List[0].cells, once);
  EXPECT_FALSE(fx.state.FileSaved);
}

TEST(DeleteSelected, ActsOnTheHighlightedRowOrElseTheClickedOne) {
  RowsFixture fx;
  fx.Load({FullRow(1, "A"), FullRow(2, "B"), FullRow(3, "C")});
  Shown(SelectRow(fx.state, 0), fx.dialogs);
  fx.state.List.SelectOnly(2);  // a search moved the highlight
  Shown(DeleteSelectedRow(fx.state), fx.dialogs);
  EXPECT_EQ(fx.state.List[0].Cell(col::kGenre), "Jazz");
  EXPECT_EQ(fx.state.List[2].Cell(col::kGenre), "deleted");

  fx.state.List.SelectOnly(-1);
  fx.state.List.SetSort(col::kNumber, true);  // the clicked record 1 now shows last
  Shown(DeleteSelectedRow(fx.state), fx.dialogs);
  EXPECT_EQ(fx.RowNumbered(1).Cell(col::kGenre), "deleted");
  EXPECT_EQ(fx.RowNumbered(2).Cell(col::kGenre), "Jazz");
}

TEST(DeleteChecked, DeletesCheckedRowsExceptRawDDriveReferences) {
  RowsFixture fx;
  auto checked = [](MainRowBuilder r) {
    r.checked = true;
    return r;
  };
  fx.Load({checked(FullRow(1, "Cool 8Beat")), FullRow(2, "Pop"),
           checked(FullRow(3, "D:\\Styles\\x.sty")), checked(FullRow(4, "User:/Styles/u.sty")),
           checked(FullRow(5, "d:\\lower.sty"))});
  const auto bytes = fx.state.FileBytes;
  fx.state.CheckCommands.deleteChecked = CheckCommandRules::DeleteChecked::kFollowsMarks;
  Shown(DeleteCheckedRows(fx.state), fx.dialogs);

  ExpectDeleted(fx.state.List[0], 1);
  EXPECT_FALSE(fx.state.List[0].checked);
  EXPECT_EQ(fx.state.List[1].Cell(col::kGenre), "Jazz");
  EXPECT_EQ(fx.state.List[2].Cell(col::kStyle), "D:\\Styles\\x.sty");
  EXPECT_TRUE(fx.state.List[2].checked);
  // The checked-rows delete applies no user-area test.
  ExpectDeleted(fx.state.List[3], 4);
  ExpectDeleted(fx.state.List[4], 5);
  EXPECT_EQ(CommandAvailability(fx.state).checkedCount, 1);
  // Off although a row it may not delete stays checked.
  EXPECT_FALSE(CommandAvailability(fx.state).cmdDeleteChecked);
  EXPECT_FALSE(fx.state.FileSaved);
  EXPECT_EQ(fx.state.FileBytes, bytes);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST(DeleteChecked, NothingCheckedChangesNoRowButMarksTheFile) {
  RowsFixture fx;
  fx.Load({FullRow(1, "Cool 8Beat"), FullRow(2, "Pop")});
  fx.state.CheckCommands.deleteChecked = CheckCommandRules::DeleteChecked::kFollowsMarks;
  const auto rows = fx.state.List[0].cells;
  Shown(DeleteCheckedRows(fx.state), fx.dialogs);
  EXPECT_EQ(fx.state.List[0].cells, rows);
  EXPECT_EQ(CommandAvailability(fx.state).checkedCount, 0);
  EXPECT_FALSE(CommandAvailability(fx.state).cmdDeleteChecked);
  EXPECT_FALSE(fx.state.FileSaved);
}

}  // namespace
}  // namespace cadenzo
