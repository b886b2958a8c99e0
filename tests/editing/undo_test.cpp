// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo after each kind of command that changes records or rows: the file image, the
// rows' texts and deletion marks and the unsaved state come back exactly, while check marks and
// the sort order stay as the person left them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <tuple>

#include "editing/edit_commands.h"
#include "editing/record_editor.h"
#include "editor_fixture.h"
#include "list/delete_commands.h"
#include "list/row_commands.h"
#include "list/search.h"
#include "mfd/bulk_replace.h"
#include "mfd/delimited_import.h"
#include "support/shown.h"
#include "textio/delimited_export.h"

namespace cadenzo::testing {
namespace {

// A row's texts as strings, to sort and compare rows by.
std::array<std::string, col::kCount> Texts(const Row& row) {
  std::array<std::string, col::kCount> texts;
  for (int c = 0; c < col::kCount; ++c) texts[static_cast<std::size_t>(c)] = row.Cell(c);
  return texts;
}

// The rows by record: texts, colour and deletion mark; the list order and the check marks apart.
using RowTexts = std::map<std::uint32_t, std::tuple<RowCells, Colour, bool>>;
RowTexts TextsByRecord(const RecordList& list) {
  RowTexts out;
  for (const Row& row : list) out[row.record] = {row.cells, row.styleColor, row.deleted};
  return out;
}
std::vector<std::uint32_t> Order(const RecordList& list) {
  std::vector<std::uint32_t> order;
  for (const Row& row : list) order.push_back(row.record);
  return order;
}
std::map<std::uint32_t, bool> Checks(const RecordList& list) {
  std::map<std::uint32_t, bool> out;
  for (const Row& row : list) out[row.record] = row.checked;
  return out;
}

class UndoFixture : public EditorTest {
 protected:
  void Modify(int record, const std::string& music) {
    Click(record);
    ASSERT_TRUE(Shown(StartModifyRecord(fx.state), fx.dialogs));
    fx.state.Editor.txtMusic = music;
    ASSERT_TRUE(StoreEditedRecord(fx.state, fx.dialogs).stored);
  }

  // What a command needs before it: favorites to clear, in a file as it is after a save (the undo
  // must bring back "saved" too).
  void Prepare(const std::string& command) {
    if (command != "ClearFavoriteOnAll") return;
    ASSERT_TRUE(SetFlagOnAll(fx.state, RecordFlag::kFavorite).outcome.Ok());
    fx.state.FileSaved = true;
  }

  // One command of each kind that changes records or rows, as the person gives it.
  void Run(const std::string& command) {
    AppState& s = fx.state;
    if (command == "Modify") {
      Modify(2, "Changed");
    } else if (command == "Add") {
      Click(1);
      ASSERT_TRUE(Shown(StartAddRecord(s), fx.dialogs));
      s.Editor.txtMusic = "Brand New";
      ASSERT_TRUE(StoreEditedRecord(s, fx.dialogs).stored);
    } else if (command == "Delete") {
      Click(3);
      ASSERT_TRUE(DeleteSelectedRow(s).Ok());
    } else if (command == "DeleteChecked") {
      for (const int n : {1, 4, 5})
        s.List[static_cast<std::size_t>(s.List.FindByRecord(n))].checked = true;
      ASSERT_TRUE(DeleteCheckedRows(s).Ok());
    } else if (command == "ToggleFavorite") {
      Click(2);
      ASSERT_TRUE(ToggleFlagOfSelected(s, RecordFlag::kFavorite).outcome.Ok());
    } else if (command == "SetSearch1OnAll") {
      ASSERT_TRUE(SetFlagOnAll(s, RecordFlag::kSearch1).outcome.Ok());
    } else if (command == "ClearFavoriteOnAll") {
      ASSERT_TRUE(ClearFlagOnAll(s, RecordFlag::kFavorite).Ok());
    } else if (command == "AppendKeyword") {
      fx.dialogs.QueueInput("Party");
      ASSERT_TRUE(AppendKeywordToAll(s, fx.dialogs).Ok());
    } else if (command == "ReplaceGenre") {
      const StyleReplaceValues values{
          .mode = ReplaceMode::kGenre, .currentGenre = "Pop", .newGenre = "Rock"};
      ASSERT_TRUE(ReplaceInAllRecords(s, fx.dialogs, values).value);
    } else if (command == "FilterList") {
      SearchState search{.txtFind = "Song 1"};
      fx.dialogs.QueueAnswer(Answer::kYes);
      ASSERT_TRUE(FilterList(s, search, fx.dialogs).Ok());
    } else if (command == "Import") {
      const std::string text =
          DelimitedHeaderLine() +
          "\r\n 1\tJazz\tImported One\tCool Beat\t 4/ 4\t120\tk\tYes\tNo\tNo\tIntro 1\tMain A\r\n"
          " 2\tJazz\tImported Two\tCool Beat\t 3/ 4\t90\t\tNo\tNo\tYes\tOff\tOff\r\n\r\n";
      ASSERT_GE(ImportDelimitedText(s, fx.dialogs, text).imported, 1);
    } else {
      FAIL() << "no such command " << command;
    }
  }
};

class UndoTest : public UndoFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(UndoTest, UndoAndRedoRestoreExactlyWhatTheCommandChanged) {
  Open(8);
  AppState& s = fx.state;
  // Some marks and a sort before the command, so that neither belongs to the step.
  s.List.SetSort(col::kMusic, true);
  Prepare(GetParam());
  const UndoHistory::Snapshot before = UndoHistory::Capture(s);
  const RowTexts rowsBefore = TextsByRecord(s.List);

  Run(GetParam());
  if (HasFatalFailure()) return;
  ASSERT_TRUE(s.History.Record(GetParam(), before, s)) << "the command changed nothing";
  const std::vector<std::uint8_t> bytesAfter = s.FileBytes;
  const RowTexts rowsAfter = TextsByRecord(s.List);
  const bool savedAfter = s.FileSaved;
  ASSERT_EQ(s.History.UndoName(), GetParam());

  // The person checks a row and sorts by another column before undoing.
  s.List[0].checked = !s.List[0].checked;
  s.List.SetSort(col::kGenre, false);
  const std::map<std::uint32_t, bool> checks = Checks(s.List);

  ASSERT_TRUE(s.History.Undo(s));
  EXPECT_EQ(s.FileBytes, before.bytes);
  EXPECT_EQ(TextsByRecord(s.List), rowsBefore);
  EXPECT_EQ(s.FileSaved, before.fileSaved);
  EXPECT_EQ(s.GenreList, before.genres);
  EXPECT_TRUE(s.List.SortOn());
  EXPECT_EQ(s.List.SortKey(), col::kGenre);
  EXPECT_EQ(Order(s.List), [&] {
    RecordList sorted = s.List;
    sorted.Resort();
    return Order(sorted);
  }());
  for (const Row& row : s.List) {
    if (const auto it = checks.find(row.record); it != checks.end()) {
      EXPECT_EQ(row.checked, it->second);
    }
  }
  EXPECT_EQ(s.History.RedoName(), GetParam());
  EXPECT_FALSE(s.History.CanUndo());

  ASSERT_TRUE(s.History.Redo(s));
  EXPECT_EQ(s.FileBytes, bytesAfter);
  EXPECT_EQ(TextsByRecord(s.List), rowsAfter);
  EXPECT_EQ(s.FileSaved, savedAfter);
  EXPECT_FALSE(s.History.CanRedo());
}

INSTANTIATE_TEST_SUITE_P(EveryCommandKind, UndoTest,
                         ::testing::Values("Modify", "Add", "Delete", "DeleteChecked",
                                           "ToggleFavorite", "SetSearch1OnAll",
                                           "ClearFavoriteOnAll", "AppendKeyword", "ReplaceGenre",
                                           "FilterList", "Import"),
                         [](const auto& info) { return std::string(info.param); });

// Many steps in a row undo back to the file as opened, and a new step ends the redo; a byte cap
// drops the oldest steps, never the newest.
TEST_F(UndoFixture, ManyStepsUndoToTheOpenedFileAndANewStepEndsTheRedo) {
  Open(8);
  AppState& s = fx.state;
  const std::vector<std::uint8_t> opened = s.FileBytes;
  const RowTexts openedRows = TextsByRecord(s.List);
  for (int i = 0; i < 150; ++i) {
    const auto before = UndoHistory::Capture(s);
    Modify(1 + i % 8, "Take " + std::to_string(i));
    ASSERT_TRUE(s.History.Record("Modify", before, s));
  }
  EXPECT_EQ(s.History.StepCount(), 150u);
  EXPECT_LT(s.History.Bytes(), std::size_t{1} << 20) << "steps keep differences, not copies";
  for (int i = 0; i < 150; ++i) ASSERT_TRUE(s.History.Undo(s));
  EXPECT_FALSE(s.History.Undo(s));
  EXPECT_EQ(s.FileBytes, opened);
  EXPECT_EQ(TextsByRecord(s.List), openedRows);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(s.History.Redo(s));
  const auto before = UndoHistory::Capture(s);
  Modify(5, "Another way");
  ASSERT_TRUE(s.History.Record("Modify", before, s));
  EXPECT_FALSE(s.History.CanRedo());
  EXPECT_EQ(s.History.StepCount(), 4u);
  // Nothing changed: no step.
  EXPECT_FALSE(s.History.Record("Nothing", UndoHistory::Capture(s), s));
}

// Random lists and random changes to them (texts, colours, deletion marks, rows taken out, put in
// and moved, bytes of the image changed, cut or added), with records that are small, far apart,
// missing or shared: undo gives back exactly the rows and the image before, redo those after.
TEST(UndoHistoryProperty, RandomChangesUndoAndRedoExactly) {
  std::mt19937 rng(20261209);
  const auto below = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
  const auto text = [&] {
    static const std::array<std::string, 6> kTexts = {
        "", "Pop", "Rock", "Yes", "A Music text longer than fifteen", "0042"};
    return kTexts[below(kTexts.size())] + (below(4) == 0 ? std::to_string(rng() % 100) : "");
  };
  using Entry = std::tuple<std::uint32_t, std::array<std::string, col::kCount>, Colour, bool>;
  const auto entries = [](const RecordList& list) {
    std::vector<Entry> out;
    for (const Row& row : list)
      out.emplace_back(row.record, Texts(row), row.styleColor, row.deleted);
    std::sort(out.begin(), out.end());
    return out;
  };
  const auto newRow = [&](std::uint32_t record) {
    Row row;
    row.record = record;
    for (int c = 0; c < col::kCount; ++c) row.SetCell(c, text());
    row.styleColor = below(5) == 0 ? kRed : kBlack;
    return row;
  };

  for (int round = 0; round < 300; ++round) {
    Document doc;
    // Records 1..n as read; in some rounds far apart (past what a table by record holds), and in
    // some a row without a record or two rows of one record.
    const std::size_t rows = below(40);
    const bool farApart = below(3) == 0;
    std::uint32_t next = 1;
    for (std::size_t i = 0; i < rows; ++i) {
      doc.List.Add(newRow(farApart ? next * 1000003u : next));
      ++next;
    }
    if (rows > 1 && below(5) == 0) doc.List[below(rows)].record = below(2) ? 0 : doc.List[0].record;
    doc.FileBytes.resize(below(600));
    for (auto& b : doc.FileBytes) b = static_cast<std::uint8_t>(rng());
    doc.GenreList = {"Pop", "Rock"};
    doc.FileSaved = below(2) == 0;

    const UndoHistory::Snapshot before = UndoHistory::Capture(doc);
    const auto rowsBefore = entries(doc.List);
    const auto bytesBefore = doc.FileBytes;
    const auto genresBefore = doc.GenreList;
    const bool savedBefore = doc.FileSaved;

    for (Row& row : doc.List) {
      if (below(3) == 0) row.SetCell(static_cast<int>(below(col::kCount)), text());
      if (below(8) == 0) row.deleted = !row.deleted;
      if (below(8) == 0) row.styleColor = row.styleColor == kBlack ? kBlue : kBlack;
    }
    if (below(3) == 0) doc.List.RemoveIf([&](const Row&) { return below(4) == 0; });
    for (std::size_t added = below(4); added > 0; --added) {
      const std::uint32_t record = farApart ? next * 1000003u : next;
      ++next;
      Row row = newRow(record);
      if (below(6) == 0) row.record = 0;
      doc.List.InsertAt({{below(doc.List.Size() + 1), std::move(row)}});
    }
    if (below(3) == 0) {
      std::vector<std::pair<std::size_t, Row>> moved;
      for (Row& row : doc.List) moved.emplace_back(0, row);
      std::shuffle(moved.begin(), moved.end(), rng);
      doc.List.Clear();
      doc.List.InsertAt(std::move(moved));
    }
    for (std::size_t flips = below(5); flips > 0 && !doc.FileBytes.empty(); --flips) {
      doc.FileBytes[below(doc.FileBytes.size())] ^= 0x5A;
    }
    if (below(4) == 0) doc.FileBytes.resize(below(700), 0x33);
    if (below(6) == 0) doc.GenreList.push_back("Jazz");
    doc.FileSaved = false;

    const auto rowsAfter = entries(doc.List);
    const auto bytesAfter = doc.FileBytes;
    const auto genresAfter = doc.GenreList;
    if (!doc.History.Record("Change", before, doc)) {
      // No step: nothing changed but the order of the rows.
      EXPECT_EQ(rowsAfter, rowsBefore) << "round " << round;
      EXPECT_EQ(bytesAfter, bytesBefore) << "round " << round;
      EXPECT_EQ(genresAfter, genresBefore) << "round " << round;
      continue;
    }

    ASSERT_TRUE(doc.History.Undo(doc));
    EXPECT_EQ(entries(doc.List), rowsBefore) << "round " << round;
    EXPECT_EQ(doc.FileBytes, bytesBefore) << "round " << round;
    EXPECT_EQ(doc.GenreList, genresBefore) << "round " << round;
    EXPECT_EQ(doc.FileSaved, savedBefore) << "round " << round;
    ASSERT_TRUE(doc.History.Redo(doc));
    EXPECT_EQ(entries(doc.List), rowsAfter) << "round " << round;
    EXPECT_EQ(doc.FileBytes, bytesAfter) << "round " << round;
    EXPECT_EQ(doc.GenreList, genresAfter) << "round " << round;
    EXPECT_FALSE(doc.FileSaved);
  }
}

}  // namespace
}  // namespace cadenzo::testing
