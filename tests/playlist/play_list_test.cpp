// SPDX-License-Identifier: GPL-3.0-or-later
#include "playlist/play_list.h"

#include <gtest/gtest.h>

#include "app/command_availability.h"
#include "support/list_rows.h"
#include "support/scripted_dialogs.h"
#include "support/shown.h"

namespace cadenzo {
namespace {

using testing::MainRowBuilder;
using testing::MakeList;

// The play-list column of each row, top to bottom.
std::vector<std::string> Column(const PlayList& list, int column) {
  std::vector<std::string> out;
  for (const auto& row : list.Rows()) out.emplace_back(row.Cell(column));
  return out;
}

// Seven checked songs "S1" to "S7", records 0011 to 0017.
RecordList SevenSongs() {
  std::vector<MainRowBuilder> rows;
  for (int i = 1; i <= 7; ++i) {
    rows.push_back({.number = 10 + i, .music = "S" + std::to_string(i), .checked = true});
  }
  return MakeList(rows);
}

TEST(PlayListAppend, CopiesTheCellsOfTheDefaultLayout) {
  PlayList list;
  list.AppendChecked(MakeList({{.number = 12,
                                .genre = "Jazz",
                                .music = "Take Five",
                                .style = "HD:\\Jazz\\Five.sty",
                                .timeSig = " 5/ 4",
                                .tempo = " 96",
                                .checked = true}}));
  ASSERT_EQ(list.Size(), 1u);
  EXPECT_EQ(list[0].cells, (std::vector<std::string>{"00001", "12", "Take Five",
                                                     "HD:\\Jazz\\Five.sty", " 5/ 4", " 96", " "}));
  EXPECT_EQ(list.PlayListCount(), 1);
  EXPECT_EQ(list.PlayListSelected(), 1);
  EXPECT_EQ(list.SelectedIndex(), 0u);
}

TEST(PlayListAppend, TakesCheckedRowsOnceByMusicAndStyle) {
  PlayList list;
  list.AppendChecked(MakeList({
      {.number = 1, .music = "Same", .style = "Pop Rock", .checked = true},
      {.number = 2, .music = "Unchecked", .checked = false},
      {.number = 3, .music = "Same", .style = "Pop Rock", .tempo = "90", .checked = true},
      {.number = 4, .music = "Same", .style = "Pop rock", .checked = true},  // case counts
      {.number = 5, .genre = "deleted", .music = "", .style = "", .checked = true, .deleted = true},
  }));
  EXPECT_EQ(Column(list, plcol::kCdzIndex), (std::vector<std::string>{"1", "4"}));
  EXPECT_EQ(Column(list, plcol::kNumber), (std::vector<std::string>{"00001", "00002"}));
}

TEST(PlayListAppend, ReturningAppendsNewlyCheckedRowsAsTheNextPositions) {
  RecordList main = MakeList({{.number = 1, .music = "A", .checked = true},
                              {.number = 2, .music = "B"},
                              {.number = 3, .music = "C"},
                              {.number = 4, .music = "D", .checked = true}});
  PlayList list;
  list.AppendChecked(main);
  main[0].checked = false;  // unchecking removes nothing
  main[1].checked = true;
  main[2].checked = true;
  list.AppendChecked(main);
  EXPECT_EQ(Column(list, plcol::kMusic), (std::vector<std::string>{"A", "D", "B", "C"}));
  EXPECT_EQ(Column(list, plcol::kNumber),
            (std::vector<std::string>{"00001", "00002", "00003", "00004"}));
  EXPECT_EQ(list.PlayListCount(), 4);
}

TEST(PlayListAppend, NewRowsTakeTheirPlaceInTheCurrentSortOrder) {
  RecordList main = MakeList({{.number = 1, .music = "Mango", .checked = true},
                              {.number = 2, .music = "Apple", .checked = true},
                              {.number = 3, .music = "banana"}});
  PlayList list;
  list.AppendChecked(main);
  list.ClickColumn(plcol::kMusic);
  main[2].checked = true;
  list.AppendChecked(main);
  EXPECT_EQ(Column(list, plcol::kMusic), (std::vector<std::string>{"Apple", "banana", "Mango"}));
  EXPECT_EQ(list[1].Cell(plcol::kNumber), "00003");
}

TEST(PlayListLayout, SwitchingRebuildsInMainOrderAndDropsComments) {
  RecordList main = MakeList({{.number = 5, .genre = "Rock", .music = "B", .checked = true},
                              {.number = 9, .genre = "Jazz", .music = "A", .checked = true}});
  PlayList list;
  list.AppendChecked(main);
  list.ClickRow(1);
  list.SetComment(*list.AddressedRow(), "slow");
  list.MoveRow(1, 1);  // A first

  ASSERT_TRUE(list.ChooseLayout(PlayListLayout::kSongGenre, main));
  EXPECT_EQ(list.ColumnCount(), 5);
  ASSERT_EQ(list.Size(), 2u);
  EXPECT_EQ(list[0].cells, (std::vector<std::string>{"00001", "5", "Rock", "B", "Cool 8Beat"}));
  EXPECT_EQ(list[1].cells, (std::vector<std::string>{"00002", "9", "Jazz", "A", "Cool 8Beat"}));
  EXPECT_EQ(list.PlayListCount(), 2);
  EXPECT_EQ(list.PlayListSelected(), 1);

  EXPECT_FALSE(list.ChooseLayout(PlayListLayout::kSongGenre, main));
  EXPECT_EQ(list.Size(), 2u);

  ASSERT_TRUE(list.ChooseLayout(PlayListLayout::kDefault, main));
  EXPECT_EQ(Column(list, plcol::kMusic), (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(Column(list, plcol::kComments), (std::vector<std::string>{" ", " "}));
}

TEST(PlayListLayout, SortKeyBeyondTheNewColumnsFallsBackToNumber) {
  RecordList main = SevenSongs();
  PlayList list;
  list.AppendChecked(main);
  list.ClickColumn(plcol::kComments);
  list.ChooseLayout(PlayListLayout::kSongGenre, main);
  EXPECT_EQ(list.SortKey(), plcol::kNumber);
  EXPECT_EQ(list[0].Cell(plcol::kSgMusic), "S1");
}

struct MoveCase {
  int from;
  int to;
  std::vector<std::string> musicInOrder;
};

void PrintTo(const MoveCase& c, std::ostream* out) { *out << c.from << " to " << c.to; }

class PlayListMove : public ::testing::TestWithParam<MoveCase> {};

TEST_P(PlayListMove, RenumbersTheRowsBetween) {
  const auto& c = GetParam();
  PlayList list;
  list.AppendChecked(SevenSongs());
  list.ClickRow(static_cast<std::size_t>(c.from - 1));
  testing::ScriptedDialogs dialogs;
  dialogs.QueueInput(std::to_string(c.to));
  Shown(ChangePlayListPosition(list, dialogs), dialogs);
  EXPECT_EQ(dialogs.inputPrompts, std::vector<std::string>{"Enter new position"});
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(Column(list, plcol::kMusic), c.musicInOrder);
  EXPECT_EQ(
      Column(list, plcol::kNumber),
      (std::vector<std::string>{"00001", "00002", "00003", "00004", "00005", "00006", "00007"}));
  EXPECT_EQ(list.PlayListSelected(), 1);
  EXPECT_EQ(list.SelectedIndex(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayListMove,
    ::testing::Values(MoveCase{5, 2, {"S1", "S5", "S2", "S3", "S4", "S6", "S7"}},
                      MoveCase{2, 5, {"S1", "S3", "S4", "S5", "S2", "S6", "S7"}},
                      MoveCase{7, 1, {"S7", "S1", "S2", "S3", "S4", "S5", "S6"}},
                      MoveCase{1, 7, {"S2", "S3", "S4", "S5", "S6", "S7", "S1"}},
                      MoveCase{4, 4, {"S1", "S2", "S3", "S4", "S5", "S6", "S7"}}));

TEST(PlayListMove, ShowsTheNewOrderAlsoAfterSortingByAnotherColumn) {
  PlayList list;
  list.AppendChecked(SevenSongs());
  list.ClickColumn(plcol::kMusic);
  list.ClickColumn(plcol::kMusic);  // descending: S7 first
  list.ClickRow(0);                 // the user clicks S7, position 7
  EXPECT_EQ(list.PlayListSelected(), 7);
  testing::ScriptedDialogs dialogs;
  dialogs.QueueInput("1");
  Shown(ChangePlayListPosition(list, dialogs), dialogs);
  EXPECT_EQ(Column(list, plcol::kMusic),
            (std::vector<std::string>{"S7", "S1", "S2", "S3", "S4", "S5", "S6"}));
  EXPECT_EQ(list.SortKey(), plcol::kNumber);
  EXPECT_FALSE(list.SortDescending());
}

TEST(PlayListMove, AsksWithTheRowsCdzIndexAsTitle) {
  PlayList list;
  list.AppendChecked(SevenSongs());
  list.ClickRow(2);
  struct TitleDialogs : testing::ScriptedDialogs {
    std::string title;
    std::optional<std::string> Input(const std::string& prompt, const std::string& t,
                                     const std::string& defaultText) override {
      title = t;
      EXPECT_EQ(defaultText, "");
      return ScriptedDialogs::Input(prompt, t, defaultText);
    }
  } dialogs;
  dialogs.QueueInput(std::nullopt);
  Shown(ChangePlayListPosition(list, dialogs), dialogs);
  EXPECT_EQ(dialogs.title, "13");
}

TEST(PlayListMove, OutOfRangeAnswersShowTheMessageAndChangeNothing) {
  struct Case {
    std::optional<std::string> answer;
    bool message;
  };
  for (const Case& c :
       {Case{"0", true}, Case{"8", true}, Case{"-3", true}, Case{"abc", true}, Case{" ", true},
        Case{"99999999999999999999", true}, Case{"", false}, Case{std::nullopt, false}}) {
    PlayList list;
    list.AppendChecked(SevenSongs());
    list.ClickRow(4);
    testing::ScriptedDialogs dialogs;
    dialogs.QueueInput(c.answer);
    Shown(ChangePlayListPosition(list, dialogs), dialogs);
    const std::vector<std::string> expected =
        c.message ? std::vector<std::string>{"Keep your choices within 1 and 7"}
                  : std::vector<std::string>{};
    EXPECT_EQ(dialogs.Texts(), expected) << c.answer.value_or("(cancel)");
    EXPECT_EQ(Column(list, plcol::kMusic),
              (std::vector<std::string>{"S1", "S2", "S3", "S4", "S5", "S6", "S7"}));
    EXPECT_EQ(list.PlayListSelected(), 5);
  }
}

TEST(PlayListNumbers, WholeNumberValueOfAnAnswer) {
  struct Case {
    std::string text;
    long long value;
  };
  for (const Case& c : {Case{"3", 3}, Case{"  12", 12}, Case{"+4", 4}, Case{"-2", -2},
                        Case{"5abc", 5}, Case{"2.7", 2}, Case{"x1", 0}, Case{"", 0}}) {
    EXPECT_EQ(WholeNumberValue(c.text), c.value) << c.text;
  }
}

TEST(PlayListComments, AnswerBecomesTheCommentAndCancelEmptiesIt) {
  PlayList list;
  list.AppendChecked(SevenSongs());
  testing::ScriptedDialogs dialogs;
  list.ClickRow(3);
  dialogs.QueueInput("key change");
  Shown(EnterPlayListComment(list, dialogs), dialogs);
  EXPECT_EQ(list[3].Cell(plcol::kComments), "key change");
  EXPECT_EQ(list.PlayListSelected(), 1);

  list.ClickRow(3);
  dialogs.QueueInput(std::nullopt);
  Shown(EnterPlayListComment(list, dialogs), dialogs);
  EXPECT_EQ(list[3].Cell(plcol::kComments), "");
  EXPECT_EQ(dialogs.inputPrompts, (std::vector<std::string>{"Enter Comments", "Enter Comments"}));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(PlayListComments, SongGenreLayoutAsksNothingAndReportsNothing) {
  RecordList main = SevenSongs();
  PlayList list;
  list.ChooseLayout(PlayListLayout::kSongGenre, main);
  const std::vector<PlayListRow> before = list.Rows();
  testing::ScriptedDialogs dialogs;
  list.ClickRow(2);
  Shown(EnterPlayListComment(list, dialogs), dialogs);
  EXPECT_TRUE(dialogs.inputPrompts.empty());
  EXPECT_TRUE(dialogs.messages.empty());
  ASSERT_EQ(list.Size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(list[i].cells, before[i].cells);
}

TEST(PlayListCommands, EmptyListAsksNothing) {
  PlayList list;
  list.AppendChecked(RecordList{});
  testing::ScriptedDialogs dialogs;
  Shown(ChangePlayListPosition(list, dialogs), dialogs);
  Shown(EnterPlayListComment(list, dialogs), dialogs);
  EXPECT_TRUE(dialogs.inputPrompts.empty());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(PlayListSort, SameColumnReversesAndTheClickedRowStaysSelected) {
  RecordList main = MakeList({{.number = 1, .music = "b", .tempo = "120", .checked = true},
                              {.number = 2, .music = "C", .tempo = " 96", .checked = true},
                              {.number = 3, .music = "a", .tempo = "", .checked = true}});
  PlayList list;
  list.AppendChecked(main);
  list.ClickRow(1);  // "C"
  testing::ScriptedDialogs dialogs;
  Shown(SortPlayList(list, plcol::kTempo), dialogs);
  EXPECT_EQ(Column(list, plcol::kMusic), (std::vector<std::string>{"a", "C", "b"}));
  Shown(SortPlayList(list, plcol::kTempo), dialogs);
  EXPECT_EQ(Column(list, plcol::kMusic), (std::vector<std::string>{"b", "C", "a"}));
  Shown(SortPlayList(list, plcol::kMusic), dialogs);
  EXPECT_EQ(Column(list, plcol::kMusic), (std::vector<std::string>{"a", "b", "C"}));
  EXPECT_FALSE(list.SortDescending());
  EXPECT_EQ(list.SelectedIndex(), 2u);
  EXPECT_EQ(list.PlayListSelected(), 2);
  EXPECT_TRUE(dialogs.messages.empty());
}

struct ScanCase {
  std::string name;
  std::vector<bool> checks;
  bool opens;
};

void PrintTo(const ScanCase& c, std::ostream* out) { *out << c.name; }

class PlayListOpen : public ::testing::TestWithParam<ScanCase> {};

TEST_P(PlayListOpen, ScansForACheckedRow) {
  const auto& c = GetParam();
  AppState state;
  for (std::size_t i = 0; i < c.checks.size(); ++i) {
    state.List.Add(
        MainRowBuilder{.number = static_cast<int>(i) + 1, .checked = c.checks[i]}.Build());
  }
  state.CheckCommands.playListWithoutMarks = true;  // left over from an earlier check-all
  testing::ScriptedDialogs dialogs;
  EXPECT_EQ(Shown(PreparePlayList(state), dialogs), c.opens);
  EXPECT_EQ(CommandAvailability(state).cmdPlayList, c.opens);
  const std::vector<std::string> expected =
      c.opens ? std::vector<std::string>{}
              : std::vector<std::string>{"At least one record must be checked to go to PlayList"};
  EXPECT_EQ(dialogs.Texts(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlayListOpen,
                         ::testing::Values(ScanCase{"EmptyList", {}, false},
                                           ScanCase{"NoneChecked", {false, false}, false},
                                           ScanCase{"LastChecked", {false, false, true}, true},
                                           ScanCase{"FirstChecked", {true, false}, true}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace cadenzo
