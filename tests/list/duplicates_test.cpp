// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/duplicates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "app/command_availability.h"
#include "list/delete_commands.h"
#include "list/rows_fixture.h"

namespace cadenzo {
namespace {

using testing::MainRowBuilder;
using testing::RowsFixture;

struct Song {
  std::string music;
  std::string style;
  bool deleted = false;
};

struct DuplicateCase {
  const char* name;
  std::vector<Song> songs;  // records 1, 2, ... in file order
  bool songOnly;
  std::vector<std::pair<int, int>> expected;  // (record kept, repeat) in file order of repeats
};

// The rows are shown in reverse record order (as a sort might leave them): the first occurrence
// is still the first in the file, not the first on screen.
std::vector<MainRowBuilder> ReversedRows(const std::vector<Song>& songs) {
  std::vector<MainRowBuilder> rows;
  for (std::size_t i = songs.size(); i-- > 0;) {
    rows.push_back(MainRowBuilder{.number = static_cast<int>(i + 1),
                                  .music = songs[i].music,
                                  .style = songs[i].style,
                                  .checked = i % 2 == 0,
                                  .deleted = songs[i].deleted});
  }
  return rows;
}

class ListDuplicatesTest : public ::testing::TestWithParam<DuplicateCase> {};

TEST_P(ListDuplicatesTest, FindsRepeatsInFileOrder) {
  const DuplicateCase& c = GetParam();
  RowsFixture fx;
  fx.Load(ReversedRows(c.songs));
  const auto found = ListDuplicates(fx.state.List, DuplicateOptions{.songOnly = c.songOnly});
  std::vector<std::pair<int, int>> pairs;
  for (const Duplicate& d : found) {
    const auto& kept = fx.state.List[d.keptRow];
    const auto& repeat = fx.state.List[d.repeatRow];
    pairs.emplace_back(kept.record, repeat.record);
    // With every record shown, the running number is the record's position in the file.
    EXPECT_EQ(d.keptNumber, kept.record);
    EXPECT_EQ(d.repeatNumber, repeat.record);
  }
  EXPECT_EQ(pairs, c.expected);

  // The command checks exactly the repeats, whatever was checked before.
  const Result<int> result = FindDuplicates(fx.state, DuplicateOptions{.songOnly = c.songOnly});
  ASSERT_TRUE(result.outcome.Ok());
  std::vector<int> checked;
  for (const Row& row : fx.state.List) {
    if (row.checked) checked.push_back(static_cast<int>(row.record));
  }
  std::vector<int> repeats;
  for (const auto& pair : c.expected) repeats.push_back(pair.second);
  std::ranges::sort(checked);
  std::ranges::sort(repeats);
  EXPECT_EQ(checked, repeats);
  EXPECT_EQ(result.outcome.status, c.expected.empty() ? "No duplicates found"
                                   : c.expected.size() == 1
                                       ? "1 duplicate checked"
                                       : std::to_string(c.expected.size()) + " duplicates checked");
  if (c.expected.empty()) {
    EXPECT_EQ(result.value, -1);
  } else {
    ASSERT_GE(result.value, 0);
    const auto first = static_cast<std::size_t>(result.value);
    EXPECT_TRUE(fx.state.List[first].checked);
    for (std::size_t i = 0; i < first; ++i) EXPECT_FALSE(fx.state.List[i].checked) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    NearMisses, ListDuplicatesTest,
    ::testing::Values(
        DuplicateCase{"none", {{"Moon River", "Ballad"}, {"Feelings", "Ballad"}}, false, {}},
        DuplicateCase{"caseAndBlanks",
                      {{"Moon River", "Cool Beat"}, {" moon RIVER  ", "  COOL beat "}},
                      false,
                      {{1, 2}}},
        DuplicateCase{"blanksInsideCount",
                      {{"Moon River", "Cool Beat"}, {"Moon  River", "Cool Beat"}},
                      false,
                      {}},
        DuplicateCase{
            "sameSongOtherStyle", {{"Moon River", "Ballad"}, {"Moon River", "Bossa"}}, false, {}},
        DuplicateCase{
            "sameStyleOtherSong", {{"Moon River", "Ballad"}, {"Feelings", "Ballad"}}, false, {}},
        DuplicateCase{"songOnlyIgnoresTheStyle",
                      {{"Moon River", "Ballad"}, {"moon river", "Bossa"}, {"Feelings", "Ballad"}},
                      true,
                      {{1, 2}}},
        DuplicateCase{"deletedRowsTakeNoPart",
                      {{"Moon River", "Ballad", true},
                       {"Moon River", "Ballad"},
                       {"Moon River", "Ballad", true},
                       {"Moon River", "Ballad"}},
                      false,
                      {{2, 4}}},
        DuplicateCase{
            "everyRepeatNamesTheFirst",
            {{"A", "X"}, {"B", "Y"}, {"a", "x"}, {"B ", "Y"}, {"A", "X"}, {"", ""}, {"", ""}},
            false,
            {{1, 3}, {2, 4}, {1, 5}, {6, 7}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Find Duplicates leaves the check commands as Check All does, so Del Chk'd deletes the repeats
// and nothing else; a run that finds none leaves Del Chk'd off.
TEST(FindDuplicates, DeleteCheckedThenRemovesTheRepeats) {
  RowsFixture fx;
  fx.Load(
      ReversedRows({{"Moon River", "Ballad"}, {"Feelings", "Bossa"}, {"moon river", "ballad"}}));
  fx.state.CheckCommands = {CheckCommandRules::DeleteChecked::kOffWhileMarked, false};
  ASSERT_EQ(FindDuplicates(fx.state, {}).outcome.status, "1 duplicate checked");
  EXPECT_TRUE(CommandAvailability(fx.state).cmdDeleteChecked);
  ASSERT_TRUE(DeleteCheckedRows(fx.state).Ok());
  for (const Row& row : fx.state.List) {
    EXPECT_EQ(row.Cell(col::kGenre) == "deleted", row.record == 3) << row.record;
  }
  // The repeat is gone: a second run finds nothing and leaves Del Chk'd off.
  EXPECT_EQ(FindDuplicates(fx.state, {}).outcome.status, "No duplicates found");
  EXPECT_FALSE(CommandAvailability(fx.state).cmdDeleteChecked);
}

}  // namespace
}  // namespace cadenzo
