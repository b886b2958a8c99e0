// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/search.h"

#include <gtest/gtest.h>

#include "app/command_availability.h"
#include "list/row_commands.h"
#include "list/rows_fixture.h"
#include "support/shown.h"

namespace cadenzo {
namespace {

using testing::MainRowBuilder;
using testing::RowsFixture;

struct MatchCase {
  const char* cell;
  const char* text;
  bool wholeWord;
  bool matches;
};

class MatchRuleTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchRuleTest, Matches) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(CellMatches(c.cell, c.text, c.wholeWord), c.matches)
      << "cell [" << c.cell << "] text [" << c.text << "] whole word " << c.wholeWord;
}

INSTANTIATE_TEST_SUITE_P(Containing, MatchRuleTest,
                         ::testing::Values(MatchCase{"Jazz Ballad", "jazz", false, true},
                                           MatchCase{"Smooth Jazz", "JAZZ", false, true},
                                           MatchCase{"Jazz", "Jazz Ballad", false, false},
                                           // The cell is trimmed, the text is not.
                                           MatchCase{"  Jazz  ", "jazz ", false, false},
                                           MatchCase{"Jazz  Ballad", "jazz ", false, true},
                                           MatchCase{"  Jazz  ", " jazz", false, false},
                                           // Windows-1252 letters fold too.
                                           MatchCase{"CAF\xC9 Latin", "caf\xE9", false, true},
                                           MatchCase{"\xC6THER", "\xE6th", false, true},
                                           MatchCase{"", "x", false, false}));

INSTANTIATE_TEST_SUITE_P(WholeWord, MatchRuleTest,
                         ::testing::Values(MatchCase{"Jazz Ballad", "jazz", true, false},
                                           MatchCase{"Swing,Jazz", "Jazz", true, true},
                                           MatchCase{"Jazz", "Jazz", true, true},
                                           MatchCase{"Swing, Jazz", "Jazz", true, true},
                                           MatchCase{"  Jazz  ,Swing", "Jazz", true, true},
                                           MatchCase{"Smooth Jazz", "Jazz", true, false},
                                           MatchCase{"Swing,Jazz", "jazz", true, false},
                                           MatchCase{"Jazz", "jazz", true, false},
                                           MatchCase{"Swing, Jazz", "jazz", true, false},
                                           MatchCase{"a,,b", "b", true, true},
                                           MatchCase{"Jazz,", "Jazz", true, true},
                                           MatchCase{"Swing;Jazz", "Jazz", true, false},
                                           // Blanks inside the text are part of it.
                                           MatchCase{"Swing, Cool Jazz", "Cool Jazz", true, true}));

struct FieldCase {
  int index;
  const char* caption;
  int column;
  const char* preset;
};

class FieldOptionTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldOptionTest, ChoosesColumnAndPresetsTheText) {
  const FieldCase& c = GetParam();
  SearchState search;
  search.txtFind = "left over";
  ChooseSearchField(search, c.index);
  EXPECT_EQ(search.SearchColumn, c.column);
  EXPECT_EQ(search.txtFind, c.preset);
  EXPECT_EQ(search.fieldIndex, c.index);
  EXPECT_EQ(SearchFields()[static_cast<std::size_t>(c.index - 1)].caption, c.caption);
}

INSTANTIATE_TEST_SUITE_P(Options, FieldOptionTest,
                         ::testing::Values(FieldCase{1, "Music", col::kMusic, ""},
                                           FieldCase{2, "Genre", col::kGenre, ""},
                                           FieldCase{3, "Keywords", col::kKeywords, ""},
                                           FieldCase{4, "Favorites", col::kFav, "Yes"},
                                           FieldCase{5, "Search 1", col::kS1, "Yes"},
                                           FieldCase{6, "Search 2", col::kS2, "Yes"},
                                           FieldCase{7, "Style", col::kStyle, ""}));

TEST(FieldOption, StartsOnMusicContainingAndIgnoresUnknownIndexes) {
  SearchState search;
  EXPECT_EQ(search.SearchColumn, col::kMusic);
  EXPECT_EQ(search.fieldIndex, 1);
  EXPECT_FALSE(search.wholeWord);
  EXPECT_EQ(search.SearchPos, 0);
  search.txtFind = "kept";
  ChooseSearchField(search, 0);
  ChooseSearchField(search, 8);
  EXPECT_EQ(search.txtFind, "kept");
  EXPECT_EQ(search.SearchColumn, col::kMusic);
}

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.Load({MainRowBuilder{.number = 1, .genre = "Pop", .music = "Alpha", .fav = "No"},
             MainRowBuilder{.number = 2, .genre = "Jazz Ballad", .music = "Beta", .fav = "Yes"},
             MainRowBuilder{.number = 3, .genre = "Rock", .music = "Gamma", .fav = "No"},
             MainRowBuilder{.number = 4, .genre = "Jazz", .music = "Delta", .fav = "Yes"},
             MainRowBuilder{.number = 5, .genre = "Latin", .music = "Epsilon", .fav = "No"}});
  }
  std::vector<bool> Checks() const {
    std::vector<bool> out;
    for (const Row& row : fx.state.List) out.push_back(row.checked);
    return out;
  }
  std::vector<std::string> Genres() const {
    std::vector<std::string> out;
    for (const Row& row : fx.state.List) out.emplace_back(row.Cell(col::kGenre));
    return out;
  }
  RowsFixture fx;
  SearchState search;
};

TEST_F(SearchTest, FavoritesFindFirstSelectsTheFirstYesWithoutCountingAsAClick) {
  Shown(SelectRow(fx.state, 4), fx.dialogs);
  ChooseSearchField(search, 4);
  EXPECT_EQ(Shown(FindFirst(fx.state, search), fx.dialogs), std::optional<std::size_t>(1));
  EXPECT_TRUE(fx.state.List[1].selected);
  EXPECT_FALSE(fx.state.List[4].selected);
  EXPECT_EQ(search.SearchPos, 2);
  EXPECT_EQ(search.SearchText, "Yes");
  EXPECT_EQ(fx.state.SelectedRecord, 5);
  EXPECT_EQ(fx.state.Editor.txtMusic, "Epsilon");
}

TEST_F(SearchTest, FindNextWalksOnAndAfterTheLastMatchLeavesTheSelection) {
  ChooseSearchField(search, 2);
  search.txtFind = "jazz";
  EXPECT_EQ(Shown(FindFirst(fx.state, search), fx.dialogs), std::optional<std::size_t>(1));
  EXPECT_EQ(Shown(FindNext(fx.state, search), fx.dialogs), std::optional<std::size_t>(3));
  EXPECT_EQ(Shown(FindNext(fx.state, search), fx.dialogs), std::nullopt);
  EXPECT_TRUE(fx.state.List[3].selected);
  EXPECT_EQ(search.SearchPos, 6);
  // No wrapping: it stays past the end.
  EXPECT_EQ(Shown(FindNext(fx.state, search), fx.dialogs), std::nullopt);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST_F(SearchTest, FindNextWithoutFindFirstStartsAtTheFirstRow) {
  ChooseSearchField(search, 4);
  EXPECT_EQ(Shown(FindNext(fx.state, search), fx.dialogs), std::optional<std::size_t>(1));
}

TEST_F(SearchTest, FindFirstWithoutMatchSelectsNothingAndSaysNothing) {
  fx.state.List.SelectOnly(2);
  search.txtFind = "Zeta";
  EXPECT_EQ(Shown(FindFirst(fx.state, search), fx.dialogs), std::nullopt);
  EXPECT_TRUE(fx.state.List[2].selected);
  EXPECT_EQ(search.SearchPos, 6);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST_F(SearchTest, FindFirstAfterSortingFollowsTheDisplayedOrder) {
  fx.state.List.SetSort(col::kNumber, true);
  ChooseSearchField(search, 4);
  const auto found = Shown(FindFirst(fx.state, search), fx.dialogs);
  ASSERT_TRUE(found);
  EXPECT_EQ(fx.state.List[*found].record, 4);
}

TEST_F(SearchTest, WholeWordGenreSearchIsExact) {
  ChooseSearchField(search, 2);
  search.wholeWord = true;
  search.txtFind = "Jazz";
  EXPECT_EQ(Shown(FindFirst(fx.state, search), fx.dialogs), std::optional<std::size_t>(3));
}

TEST_F(SearchTest, EmptyTextIsRefusedByEveryCommand) {
  fx.state.List[0].checked = true;
  const auto genres = Genres();
  EXPECT_EQ(Shown(FindFirst(fx.state, search), fx.dialogs), std::nullopt);
  EXPECT_EQ(Shown(FindNext(fx.state, search), fx.dialogs), std::nullopt);
  EXPECT_FALSE(Shown(FindAndCheckAll(fx.state, search), fx.dialogs));
  Shown(FilterList(fx.state, search, fx.dialogs), fx.dialogs);
  EXPECT_FALSE(Shown(OpenInPlayList(fx.state, search), fx.dialogs));
  EXPECT_EQ(fx.dialogs.Texts(),
            std::vector<std::string>(5, "please enter something to search for"));
  EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false, false, false}));
  EXPECT_EQ(Genres(), genres);
  EXPECT_EQ(search.SearchPos, 0);
  EXPECT_TRUE(fx.state.FileSaved);
}

TEST_F(SearchTest, FindAndCheckAllKeepsEarlierChecksAndCountsThemOnce) {
  fx.state.List[1].checked = true;
  fx.state.List[2].checked = true;
  fx.state.CheckCommands = {CheckCommandRules::DeleteChecked::kOffWhileMarked, false};
  ChooseSearchField(search, 4);
  EXPECT_TRUE(Shown(FindAndCheckAll(fx.state, search), fx.dialogs));
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true, true, true, false}));
  EXPECT_EQ(CommandAvailability(fx.state).checkedCount, 3);
  EXPECT_TRUE(CommandAvailability(fx.state).cmdPlayList);
  EXPECT_TRUE(CommandAvailability(fx.state).cmdDeleteChecked);
  EXPECT_EQ(search.SearchPos, 6);
  EXPECT_TRUE(fx.state.FileSaved);
  // The position is past the last row now.
  EXPECT_EQ(Shown(FindNext(fx.state, search), fx.dialogs), std::nullopt);
}

TEST_F(SearchTest, FindAndCheckAllWithoutMatchLeavesPlayListAloneAndDisablesDeleteChecked) {
  fx.state.CheckCommands = {CheckCommandRules::DeleteChecked::kOnWithoutMarks, false};
  search.txtFind = "Zeta";
  EXPECT_TRUE(Shown(FindAndCheckAll(fx.state, search), fx.dialogs));
  EXPECT_EQ(CommandAvailability(fx.state).checkedCount, 0);
  EXPECT_FALSE(CommandAvailability(fx.state).cmdPlayList);
  EXPECT_FALSE(CommandAvailability(fx.state).cmdDeleteChecked);
}

TEST_F(SearchTest, FilterListDeletesRowsThatNeitherMatchNorWereChecked) {
  fx.state.List[2].checked = true;  // "Rock", does not match, checked before
  ChooseSearchField(search, 2);
  search.txtFind = "jazz";
  fx.dialogs.QueueAnswer(Answer::kYes);
  const Outcome outcome = FilterList(fx.state, search, fx.dialogs);
  Present(outcome, fx.dialogs);
  EXPECT_EQ(Genres(),
            (std::vector<std::string>{"deleted", "Jazz Ballad", "Rock", "Jazz", "deleted"}));
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false, false, false}));
  EXPECT_EQ(CommandAvailability(fx.state).checkedCount, 0);
  EXPECT_FALSE(fx.state.FileSaved);
  // Only the question: the two rows it names are the two that were deleted.
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text,
            "Filter List marks the 2 rows that do not match as deleted; they will not be saved. "
            "Filter the list?");
  EXPECT_EQ(fx.dialogs.messages[0].defaultButton, 1);  // No
  EXPECT_EQ(outcome.status, "Filter List marked 2 rows deleted; 3 rows left");
}

// No leaves every row as it was, whatever the box; Yes with the box ticked is not asked again
// during the run, and a filter that would delete nothing asks nothing.
TEST_F(SearchTest, FilterListAsksUntilToldNotTo) {
  ChooseSearchField(search, 2);
  search.txtFind = "jazz";
  const auto genres = Genres();
  fx.dialogs.QueueAnswer(Answer::kNo);
  fx.dialogs.QueueCheckBox(true);
  EXPECT_EQ(FilterList(fx.state, search, fx.dialogs).problem, Problem::kCancelled);
  EXPECT_EQ(Genres(), genres);
  EXPECT_EQ(Checks(), (std::vector<bool>(5, false)));
  EXPECT_TRUE(fx.state.FileSaved);
  EXPECT_FALSE(fx.state.FilterWithoutAsking);

  fx.dialogs.QueueAnswer(Answer::kYes);
  fx.dialogs.QueueCheckBox(true);
  EXPECT_TRUE(FilterList(fx.state, search, fx.dialogs).Ok());
  EXPECT_TRUE(fx.state.FilterWithoutAsking);
  search.txtFind = "Jazz Ballad";
  EXPECT_TRUE(FilterList(fx.state, search, fx.dialogs).Ok());  // one more row, unasked
  EXPECT_EQ(Genres(),
            (std::vector<std::string>{"deleted", "Jazz Ballad", "deleted", "deleted", "deleted"}));
  EXPECT_EQ(fx.dialogs.checkBoxes, std::vector<std::string>(2, "Don't ask again during this run"));
  EXPECT_TRUE(fx.dialogs.AllAnswered());
}

TEST_F(SearchTest, OpenInPlayListChecksTheMatchesFirst) {
  search.txtFind = "ta";
  EXPECT_TRUE(Shown(OpenInPlayList(fx.state, search), fx.dialogs));
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true, false, true, false}));
}

}  // namespace
}  // namespace cadenzo
