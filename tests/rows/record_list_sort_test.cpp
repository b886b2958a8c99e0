// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
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
      row.SetCell(c, texts[(seed >> 16) % std::size(texts)]);
    }
    row.SetCell(col::kFiller, std::to_string(i));
  }
  return list;
}

std::vector<std::string> Ids(const RecordList& list) {
  std::vector<std::string> ids;
  for (const Row& row : list) ids.emplace_back(row.Cell(col::kFiller));
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

// A sort by any column, either way, gives the order a stable sort of the rows by CompareTexts
// gives, over texts of any bytes: case pairs of the whole character set, empty texts, texts that
// are the start of others.
TEST(SortByColumn, OrdersAsAStableSortByTheListsComparison) {
  const std::string pieces[] = {"",     "a", "A",    "\xE9", "\xC9", "\x8A",
                                "\x9A", "z", "\xFF", "\x80", "ab"};
  std::mt19937 random(7);
  for (int round = 0; round < 30; ++round) {
    RecordList list;
    const std::size_t size = 1 + random() % 300;
    for (std::size_t i = 0; i < size; ++i) {
      Row& row = list.Add();
      for (int c = 0; c < col::kFiller; ++c) {
        std::string text;
        for (std::size_t n = random() % 4; n > 0; --n) text += pieces[random() % std::size(pieces)];
        row.SetCell(c, text);
      }
      row.SetCell(col::kFiller, std::to_string(i));
    }
    const int key = static_cast<int>(random() % col::kFiller);
    const bool descending = random() % 2 == 1;
    std::vector<const Row*> expected;
    for (const Row& row : list) expected.push_back(&row);
    std::stable_sort(expected.begin(), expected.end(), [&](const Row* a, const Row* b) {
      const int c = RecordList::CompareTexts(a->Cell(key), b->Cell(key));
      return descending ? c > 0 : c < 0;
    });
    std::vector<std::string> expectedIds;
    for (const Row* row : expected) expectedIds.emplace_back(row->Cell(col::kFiller));

    list.SetSort(key, descending);
    EXPECT_EQ(Ids(list), expectedIds) << "round " << round << " key " << key;
  }
}

// The cells of a row keep every text through any sequence of changes, also a text taken from
// the row itself, and two rows with the same texts compare equal however they were filled.
TEST(RowCells, KeepEveryTextThroughAnySequenceOfChanges) {
  std::mt19937 random(11);
  const std::string pieces[] = {"", "Yes", "No", "Ballad", "\xE9t\xE9", std::string(300, 'x')};
  for (int round = 0; round < 200; ++round) {
    Row row;
    std::array<std::string, col::kCount> expected;
    for (int step = 0; step < 40; ++step) {
      const auto c = static_cast<int>(random() % col::kCount);
      if (random() % 5 == 0) {
        const auto from = static_cast<int>(random() % col::kCount);
        expected[static_cast<std::size_t>(c)] = expected[static_cast<std::size_t>(from)];
        row.SetCell(c, row.Cell(from));
      } else {
        const std::string& text = pieces[random() % std::size(pieces)];
        expected[static_cast<std::size_t>(c)] = text;
        row.SetCell(c, text);
      }
    }
    for (int c = 0; c < col::kCount; ++c) {
      ASSERT_EQ(row.Cell(c), expected[static_cast<std::size_t>(c)]) << "round " << round;
    }
    RowCells assigned;
    assigned.Assign(expected);
    EXPECT_EQ(assigned, row.cells) << "round " << round;
  }
}

}  // namespace
}  // namespace cadenzo
