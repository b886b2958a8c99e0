// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "rows/record_list.h"

namespace cadenzo {
namespace {

// A list whose rows carry their first position in the filler cell, with many equal keys in
// every column (case variants, empty texts, repeated numbers) so that the order of ties shows.
RecordList MakeList(std::uint32_t seed, std::size_t size) {
  const char* const texts[] = {"", "a", "A", "b", "Blue", "blue", "0010", "0002", "10", "9"};
  RecordList list;
  for (std::size_t i = 0; i < size; ++i) {
    Row& row = list.Add();
    for (int c = 0; c < col::kFiller; ++c) {
      seed = seed * 1664525u + 1013904223u;
      row.Cell(c) = texts[(seed >> 16) % std::size(texts)];
    }
    row.Cell(col::kFiller) = std::to_string(i);
  }
  return list;
}

std::vector<std::string> Ids(const RecordList& list) {
  std::vector<std::string> ids;
  for (const Row& row : list) ids.push_back(row.Cell(col::kFiller));
  return ids;
}

struct SortCase {
  bool sortOn;
  int shownKey;  // the key the list is sorted by before the pass
  bool shownDescending;
  int finalKey;  // SortColumn
};

class RecordOrder : public ::testing::TestWithParam<SortCase> {};

// The processing pass walks the rows in the order a sort by Number gives and ends with a sort by
// SortColumn; OrderBy and SetSortKeyAfter must give exactly what the two sorts give, ties
// included, whatever order the list was in.
TEST_P(RecordOrder, MatchesSortingByNumberThenByTheSortColumn) {
  const SortCase& c = GetParam();
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    RecordList list = MakeList(seed, 40 + seed);
    if (c.sortOn) list.SetSort(c.shownKey, c.shownDescending);
    RecordList expected = list;
    expected.SetSortKey(col::kNumber, false);
    const std::vector<std::string> walk = Ids(expected);
    expected.SetSortKey(c.finalKey, false);

    const std::vector<std::uint32_t> order = list.OrderBy(col::kNumber);
    ASSERT_EQ(order.size(), list.Size());
    for (std::size_t i = 0; i < order.size(); ++i) {
      EXPECT_EQ(list[order[i]].Cell(col::kFiller), walk[i]) << "seed " << seed << " step " << i;
    }
    list.SetSortKeyAfter(order, c.finalKey);
    EXPECT_EQ(Ids(list), Ids(expected)) << "seed " << seed;
    EXPECT_EQ(list.SortKey(), c.finalKey);
    EXPECT_FALSE(list.SortDescending());
    EXPECT_EQ(list.SortOn(), c.sortOn);

    // A second pass finds the rows in place and leaves them so.
    list.SetSortKeyAfter(list.OrderBy(col::kNumber), c.finalKey);
    EXPECT_EQ(Ids(list), Ids(expected)) << "seed " << seed;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, RecordOrder,
                         ::testing::Values(SortCase{false, col::kMusic, false, col::kMusic},
                                           SortCase{true, col::kMusic, false, col::kMusic},
                                           SortCase{true, col::kMusic, true, col::kMusic},
                                           SortCase{true, col::kGenre, false, col::kMusic},
                                           SortCase{true, col::kMusic, false, col::kNumber},
                                           SortCase{true, col::kNumber, true, col::kTempo}));

}  // namespace
}  // namespace cadenzo
