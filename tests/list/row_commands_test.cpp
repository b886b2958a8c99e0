// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/row_commands.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/command_availability.h"
#include "list/rows_fixture.h"
#include "support/shown.h"

namespace cadenzo {
namespace {

using testing::MainRowBuilder;
using testing::RowsFixture;

// --- Section codes -------------------------------------------------------------------------

struct SectionCase {
  const char* text;
  int code;
};

class SectionCodeTest : public ::testing::TestWithParam<SectionCase> {};

TEST_P(SectionCodeTest, GivesTheKeyboardNumbering) {
  EXPECT_EQ(SectionCode(GetParam().text), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(AllTexts, SectionCodeTest,
                         ::testing::Values(SectionCase{"Intro 1", 0}, SectionCase{"Intro 2", 1},
                                           SectionCase{"Intro 3", 2}, SectionCase{"Main A", 8},
                                           SectionCase{"Main B", 9}, SectionCase{"Main C", 10},
                                           SectionCase{"Main D", 11}, SectionCase{"Ending 1", 32},
                                           SectionCase{"Ending 2", 33}, SectionCase{"Ending 3", 34},
                                           SectionCase{"Off", -1}, SectionCase{"", -1},
                                           SectionCase{"intro 1", -1}, SectionCase{"Main E", -1},
                                           SectionCase{" Main A", -1}));

// --- Row click -------------------------------------------------------------------------------

class ItemClickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.Load({MainRowBuilder{.number = 1,
                            .genre = "Jazz",
                            .music = "Take Five",
                            .style = "Cool Jazz",
                            .timeSig = " 6/ 8",
                            .tempo = " 96",
                            .keywords = "Swing,Sax",
                            .fav = "Yes",
                            .s1 = "No",
                            .s2 = "Yes",
                            .intro = "Intro 3",
                            .next = "Main D"},
             MainRowBuilder{.number = 2,
                            .genre = "Unlisted",
                            .style = "USB:/Songs/a.mid",
                            .timeSig = "",
                            .tempo = "",
                            .intro = "Off",
                            .next = "Ending 2"}});
    fx.state.Editor.genres = {"Bossa", "Jazz", "Pop"};
    // As a file leaves them after it was opened: waiting for a row click.
    fx.state.RowCommandsNeedSelection = true;
    fx.state.RowClicked = false;
  }
  RowsFixture fx;
};

TEST_F(ItemClickTest, CapturesEveryCellIntoItsDestination) {
  Shown(SelectRow(fx.state, 0), fx.dialogs);
  const AppState& s = fx.state;
  EXPECT_EQ(s.SelectedRecord, 1);
  EXPECT_EQ(s.SelectedStyleText, "Cool Jazz");
  EXPECT_EQ(s.SelectedTempo, 96);
  EXPECT_EQ(s.SelectedIntroCode, 2);
  EXPECT_EQ(s.SelectedNextCode, 11);
  EXPECT_EQ(s.EditTimeSig, " 6/ 8");
  EXPECT_EQ(s.Editor.timeSigOption, "opt68");
  EXPECT_EQ(s.Editor.txtMusic, "Take Five");
  EXPECT_EQ(s.Editor.txtTempo, " 96");
  EXPECT_EQ(s.Editor.txtKeywords, "Swing,Sax");
  EXPECT_EQ(s.Editor.lblCurrentStyle, "Cool Jazz");
  EXPECT_TRUE(s.Editor.chkFavorite);
  EXPECT_FALSE(s.Editor.chkSearch1);
  EXPECT_TRUE(s.Editor.chkSearch2);
  EXPECT_EQ(s.Editor.cboGenre, "Jazz");
  const AvailableCommands available = CommandAvailability(s);
  EXPECT_TRUE(available.CmdDelete && available.cmdModify && available.cmdReplaceStyle);
  EXPECT_TRUE(s.List[0].selected);
  EXPECT_FALSE(s.List[1].selected);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST_F(ItemClickTest, RowWithoutTimeSigOrKnownGenreKeepsThePreviousChoices) {
  Shown(SelectRow(fx.state, 0), fx.dialogs);
  Shown(SelectRow(fx.state, 1), fx.dialogs);
  const AppState& s = fx.state;
  EXPECT_EQ(s.SelectedRecord, 2);
  EXPECT_EQ(s.SelectedTempo, 0);
  EXPECT_EQ(s.SelectedIntroCode, -1);
  EXPECT_EQ(s.SelectedNextCode, 33);
  EXPECT_EQ(s.SelectedStyleText, "USB:/Songs/a.mid");
  EXPECT_EQ(s.Editor.txtTempo, "");
  // The check boxes are cleared before they are set.
  EXPECT_FALSE(s.Editor.chkFavorite);
  EXPECT_FALSE(s.Editor.chkSearch2);
  EXPECT_EQ(s.Editor.timeSigOption, "opt68");
  EXPECT_EQ(s.EditTimeSig, " 6/ 8");
  EXPECT_EQ(s.Editor.cboGenre, "Jazz");
  EXPECT_TRUE(s.List[1].selected);
  EXPECT_FALSE(s.List[0].selected);
}

struct TimeSigCase {
  const char* cell;
  const char* option;  // expected option after the click; the earlier one is "opt00"
  const char* editTimeSig;
};

class TimeSigCaptureTest : public ::testing::TestWithParam<TimeSigCase> {};

TEST_P(TimeSigCaptureTest, SelectsTheMatchingOption) {
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1, .timeSig = GetParam().cell}});
  fx.state.Editor.timeSigOption = "opt00";
  fx.state.EditTimeSig = " 0/ 0";
  Shown(SelectRow(fx.state, 0), fx.dialogs);
  EXPECT_EQ(fx.state.Editor.timeSigOption, GetParam().option);
  EXPECT_EQ(fx.state.EditTimeSig, GetParam().editTimeSig);
}

INSTANTIATE_TEST_SUITE_P(Cells, TimeSigCaptureTest,
                         ::testing::Values(TimeSigCase{" 4/ 4", "opt44", " 4/ 4"},
                                           TimeSigCase{" 2/ 4", "opt24", " 2/ 4"},
                                           TimeSigCase{" 3/ 4", "opt34", " 3/ 4"},
                                           TimeSigCase{" 6/ 8", "opt68", " 6/ 8"},
                                           TimeSigCase{" 0/ 0", "opt00", " 0/ 0"},
                                           TimeSigCase{"", "opt00", " 0/ 0"},
                                           TimeSigCase{" 9/ 8", "opt00", " 0/ 0"},
                                           TimeSigCase{"4/4", "opt00", " 0/ 0"}));

TEST(ItemClick, TheNumberTextIsALabelAndTheRowsRecordIsSelected) {
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1}, MainRowBuilder{.number = 2}});
  fx.state.List[1].SetCell(col::kNumber, "40000");
  Shown(SelectRow(fx.state, 1), fx.dialogs);
  EXPECT_EQ(fx.state.SelectedRecord, 2);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST(ItemClick, TempoTooLargeForTheKeyboardMessageCountsAsNone) {
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1, .tempo = "65000"}});
  Shown(SelectRow(fx.state, 0), fx.dialogs);
  EXPECT_EQ(fx.state.SelectedRecord, 1);
  EXPECT_EQ(fx.state.SelectedTempo, 0);
  EXPECT_EQ(fx.state.Editor.txtTempo, "65000");
}

// --- Double click and pop-up toggles -------------------------------------------------------

enum class Trigger { kDoubleClickToggle, kPopUpFavorite, kPopUpS1, kPopUpS2 };

struct ToggleCase {
  const char* name;
  Trigger trigger;
  const char* cellBefore;
  bool bitBefore;
  const char* cellAfter;
  bool bitAfter;
  RowCommandResult result;
};

class ToggleTest : public ::testing::TestWithParam<ToggleCase> {};

TEST_P(ToggleTest, FlipsCellAndBit) {
  const ToggleCase& c = GetParam();
  int column = col::kFav;
  std::uint8_t bit = mfd::kFavorite;
  std::function<RowCommandResult(AppState&, Dialogs&)> command;
  switch (c.trigger) {
    case Trigger::kDoubleClickToggle:
      command = [](AppState& s, Dialogs& d) { return Shown(RunDoubleClickAction(s), d); };
      break;
    case Trigger::kPopUpFavorite:
      command = [](AppState& s, Dialogs& d) {
        return Shown(ToggleFlagOfSelected(s, RecordFlag::kFavorite), d);
      };
      break;
    case Trigger::kPopUpS1:
      command = [](AppState& s, Dialogs& d) {
        return Shown(ToggleFlagOfSelected(s, RecordFlag::kSearch1), d);
      };
      column = col::kS1;
      bit = mfd::kSearch1;
      break;
    case Trigger::kPopUpS2:
      command = [](AppState& s, Dialogs& d) {
        return Shown(ToggleFlagOfSelected(s, RecordFlag::kSearch2), d);
      };
      column = col::kS2;
      bit = mfd::kSearch2;
      break;
  }
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1}, MainRowBuilder{.number = 2}});
  SetDoubleClickToggles(fx.state);
  // Row 2 shown first; its record's other bits must survive.
  fx.state.List.SetSort(col::kNumber, true);
  Row& row = fx.state.List[0];
  ASSERT_EQ(row.record, 2);
  row.SetCell(column, c.cellBefore);
  fx.Flags(2) = static_cast<std::uint8_t>(0x78 | (c.bitBefore ? bit : 0));
  fx.state.List.SelectOnly(0);

  EXPECT_EQ(command(fx.state, fx.dialogs), c.result);
  EXPECT_EQ(row.Cell(column), c.cellAfter);
  EXPECT_EQ(fx.Flags(2), static_cast<std::uint8_t>(0x78 | (c.bitAfter ? bit : 0)));
  EXPECT_EQ(fx.Flags(1), 0);
  EXPECT_FALSE(fx.state.FileSaved);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToggleTest,
    ::testing::Values(ToggleCase{"DblClickOn", Trigger::kDoubleClickToggle, "No", false, "Yes",
                                 true, RowCommandResult::kFitColumns},
                      ToggleCase{"DblClickOff", Trigger::kDoubleClickToggle, "Yes", true, "No",
                                 false, RowCommandResult::kNone},
                      // The double click follows the bit when the cell disagrees.
                      ToggleCase{"DblClickBitSetCellNo", Trigger::kDoubleClickToggle, "No", true,
                                 "No", false, RowCommandResult::kNone},
                      ToggleCase{"DblClickBitClearCellYes", Trigger::kDoubleClickToggle, "Yes",
                                 false, "Yes", true, RowCommandResult::kFitColumns},
                      // The pop-up follows the cell.
                      ToggleCase{"PopUpFavCellNoBitSet", Trigger::kPopUpFavorite, "No", true, "Yes",
                                 true, RowCommandResult::kFitColumns},
                      ToggleCase{"PopUpFavCellYesBitClear", Trigger::kPopUpFavorite, "Yes", false,
                                 "No", false, RowCommandResult::kNone},
                      ToggleCase{"PopUpS1On", Trigger::kPopUpS1, "No", false, "Yes", true,
                                 RowCommandResult::kFitColumns},
                      ToggleCase{"PopUpS1Off", Trigger::kPopUpS1, "Yes", true, "No", false,
                                 RowCommandResult::kNone},
                      ToggleCase{"PopUpS2On", Trigger::kPopUpS2, "No", false, "Yes", true,
                                 RowCommandResult::kFitColumns},
                      ToggleCase{"PopUpS2OddCellOff", Trigger::kPopUpS2, "yes", true, "Yes", true,
                                 RowCommandResult::kFitColumns}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DoubleClick, EditModeAsksForModifyAndChangesNothing) {
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1}});
  const auto before = fx.state.FileBytes;
  fx.state.List.SelectOnly(0);
  EXPECT_EQ(Shown(RunDoubleClickAction(fx.state), fx.dialogs), RowCommandResult::kModify);
  EXPECT_EQ(fx.state.FileBytes, before);
  EXPECT_EQ(fx.state.List[0].Cell(col::kFav), "No");
  EXPECT_TRUE(fx.state.FileSaved);
}

TEST(DoubleClick, WithoutSelectedRowNothingHappensInEitherMode) {
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1}});
  EXPECT_EQ(Shown(RunDoubleClickAction(fx.state), fx.dialogs), RowCommandResult::kNone);
  SetDoubleClickToggles(fx.state);
  EXPECT_EQ(Shown(RunDoubleClickAction(fx.state), fx.dialogs), RowCommandResult::kNone);
  EXPECT_EQ(Shown(ToggleFlagOfSelected(fx.state, RecordFlag::kSearch1), fx.dialogs),
            RowCommandResult::kNone);
  EXPECT_EQ(fx.state.List[0].Cell(col::kFav), "No");
  EXPECT_EQ(fx.state.List[0].Cell(col::kS1), "No");
  EXPECT_TRUE(fx.state.FileSaved);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST(DoubleClick, ActionMenuPairIsExclusiveAndChoosingTheCheckedItemKeepsIt) {
  AppState state;
  EXPECT_TRUE(state.DoubleClickEdits);
  SetDoubleClickEdits(state);
  EXPECT_TRUE(state.DoubleClickEdits);
  SetDoubleClickToggles(state);
  EXPECT_FALSE(state.DoubleClickEdits);
  SetDoubleClickToggles(state);
  EXPECT_FALSE(state.DoubleClickEdits);
  SetDoubleClickEdits(state);
  EXPECT_TRUE(state.DoubleClickEdits);
}

TEST(PopUpToggle, RowWhoseRecordIsMissingIsReportedAndLeftAlone) {
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1}});
  fx.state.List[0].record = 7;
  fx.state.List.SelectOnly(0);
  EXPECT_EQ(Shown(ToggleFlagOfSelected(fx.state, RecordFlag::kFavorite), fx.dialogs),
            RowCommandResult::kNone);
  EXPECT_EQ(fx.state.List[0].Cell(col::kFav), "No");
  EXPECT_TRUE(fx.state.FileSaved);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_NE(fx.dialogs.messages[0].text.find("Function mnuTrackMenuSetFavorite."),
            std::string::npos);
}

// --- Set all and clear all -----------------------------------------------------------------

struct AllCase {
  const char* errorName;
  std::function<RowCommandResult(AppState&, Dialogs&)> command;
  int column;
  std::uint8_t bit;
  bool on;
};

RowCommandResult Clear(RecordFlag flag, AppState& s, Dialogs& d) {
  Shown(ClearFlagOnAll(s, flag), d);
  return RowCommandResult::kNone;
}

std::vector<AllCase> AllCases() {
  return {
      {"cmdSetFav_click",
       [](AppState& s, Dialogs& d) { return Shown(SetFlagOnAll(s, RecordFlag::kFavorite), d); },
       col::kFav, mfd::kFavorite, true},
      {"cmdSetS1",
       [](AppState& s, Dialogs& d) { return Shown(SetFlagOnAll(s, RecordFlag::kSearch1), d); },
       col::kS1, mfd::kSearch1, true},
      {"cmdSetS2",
       [](AppState& s, Dialogs& d) { return Shown(SetFlagOnAll(s, RecordFlag::kSearch2), d); },
       col::kS2, mfd::kSearch2, true},
      {"CmdFav_click", [](AppState& s, Dialogs& d) { return Clear(RecordFlag::kFavorite, s, d); },
       col::kFav, mfd::kFavorite, false},
      {"cmdS1", [](AppState& s, Dialogs& d) { return Clear(RecordFlag::kSearch1, s, d); }, col::kS1,
       mfd::kSearch1, false},
      {"cmdS2", [](AppState& s, Dialogs& d) { return Clear(RecordFlag::kSearch2, s, d); }, col::kS2,
       mfd::kSearch2, false},
  };
}

class AllRowsTest : public ::testing::TestWithParam<AllCase> {};

TEST_P(AllRowsTest, ChangesEveryCellAndEveryRecordOfTheStore) {
  const AllCase& c = GetParam();
  RowsFixture fx;
  const char* before = c.on ? "No" : "Yes";
  fx.Load({MainRowBuilder{.number = 2, .fav = before, .s1 = before, .s2 = before},
           MainRowBuilder{.number = 1, .fav = before, .s1 = before, .s2 = before}});
  // Record 3 has no row at all; row 1 was deleted. Both records still change.
  fx.state.FileBytes.resize(fx.state.FileBytes.size() + mfd::kRecordSize, 0);
  SetHeaderCount(fx.state.FileBytes, 3);
  fx.state.List[1].SetCell(col::kGenre, "deleted");
  fx.state.List[1].deleted = true;
  const std::uint8_t others = static_cast<std::uint8_t>(0xF8 | (7 & ~c.bit));
  for (int n = 1; n <= 3; ++n) fx.Flags(n) = static_cast<std::uint8_t>(c.on ? others : 0xFF);

  const RowCommandResult result = c.command(fx.state, fx.dialogs);

  EXPECT_EQ(result, c.on ? RowCommandResult::kFitColumns : RowCommandResult::kNone);
  for (const Row& row : fx.state.List) {
    EXPECT_EQ(row.Cell(c.column), c.on ? "Yes" : "No");
    for (int other : {col::kFav, col::kS1, col::kS2}) {
      if (other != c.column) {
        EXPECT_EQ(row.Cell(other), before);
      }
    }
  }
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(fx.Flags(n), c.on ? static_cast<std::uint8_t>(others | c.bit)
                                : static_cast<std::uint8_t>(0xFF & ~c.bit))
        << "record " << n;
  }
  EXPECT_EQ(HeaderRecordCount(fx.state), 3);
  EXPECT_FALSE(fx.state.FileSaved);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST_P(AllRowsTest, WithoutAFileTheErrorCarriesTheCommandsName) {
  const AllCase& c = GetParam();
  RowsFixture fx;
  EXPECT_EQ(c.command(fx.state, fx.dialogs), RowCommandResult::kNone);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text,
            std::string("Error #: 9, Subscript out of range, encountered in Function ") +
                c.errorName +
                ". If the solution is not obvious, please report this to the author.");
  EXPECT_TRUE(fx.state.FileSaved);
}

TEST_P(AllRowsTest, AStoreShorterThanItsCountChangesNothing) {
  const AllCase& c = GetParam();
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1, .fav = "No"}, MainRowBuilder{.number = 2, .fav = "No"}});
  SetHeaderCount(fx.state.FileBytes, 3);
  const auto bytes = fx.state.FileBytes;
  const auto cells = fx.state.List[0].cells;
  c.command(fx.state, fx.dialogs);
  EXPECT_EQ(fx.state.FileBytes, bytes);
  EXPECT_EQ(fx.state.List[0].cells, cells);
  EXPECT_EQ(fx.dialogs.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Commands, AllRowsTest, ::testing::ValuesIn(AllCases()),
                         [](const auto& info) { return std::string(info.param.errorName); });

// --- Check marks ---------------------------------------------------------------------------

enum class CheckCommand { kCheck, kUncheck, kInvert };

struct CheckCase {
  const char* name;
  CheckCommand command;
  std::vector<bool> before;
  std::vector<bool> after;
  int label;
  bool deleteChecked;
  bool playList;
};

class CheckMarksTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckMarksTest, SetsMarksLabelAndEnabling) {
  const CheckCase& c = GetParam();
  RowsFixture fx;
  std::vector<MainRowBuilder> rows;
  for (std::size_t i = 0; i < c.before.size(); ++i) {
    rows.push_back(MainRowBuilder{.number = static_cast<int>(i) + 1, .checked = c.before[i]});
  }
  fx.Load(rows);
  // Start from the opposite of the expected enabling so that every change shows.
  fx.state.CheckCommands = {c.deleteChecked ? CheckCommandRules::DeleteChecked::kOffWhileMarked
                                            : CheckCommandRules::DeleteChecked::kOnWithoutMarks,
                            !c.playList};

  switch (c.command) {
    case CheckCommand::kCheck:
      Shown(CheckAll(fx.state), fx.dialogs);
      break;
    case CheckCommand::kUncheck:
      Shown(UncheckAll(fx.state), fx.dialogs);
      break;
    case CheckCommand::kInvert:
      Shown(InvertChecks(fx.state), fx.dialogs);
      break;
  }
  std::vector<bool> after;
  for (const Row& row : fx.state.List) after.push_back(row.checked);
  EXPECT_EQ(after, c.after);
  const AvailableCommands available = CommandAvailability(fx.state);
  EXPECT_EQ(available.checkedCount, c.label);
  EXPECT_EQ(available.cmdDeleteChecked, c.deleteChecked);
  EXPECT_EQ(available.cmdPlayList, c.playList);
  EXPECT_TRUE(fx.state.FileSaved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckMarksTest,
    ::testing::Values(CheckCase{"CheckMixed",
                                CheckCommand::kCheck,
                                {true, false, false},
                                {true, true, true},
                                3,
                                true,
                                true},
                      // Check all on an empty list still enables both buttons.
                      CheckCase{"CheckEmpty", CheckCommand::kCheck, {}, {}, 0, true, true},
                      CheckCase{"UncheckMixed",
                                CheckCommand::kUncheck,
                                {true, false, true},
                                {false, false, false},
                                0,
                                false,
                                false},
                      CheckCase{"InvertMixed",
                                CheckCommand::kInvert,
                                {true, false, false},
                                {false, true, true},
                                2,
                                true,
                                true},
                      CheckCase{"InvertAllChecked",
                                CheckCommand::kInvert,
                                {true, true},
                                {false, false},
                                0,
                                false,
                                false},
                      CheckCase{"InvertNoneChecked",
                                CheckCommand::kInvert,
                                {false, false},
                                {true, true},
                                2,
                                true,
                                true},
                      CheckCase{"InvertEmpty", CheckCommand::kInvert, {}, {}, 0, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Add text to all keywords ---------------------------------------------------------------

struct KeywordCase {
  const char* name;
  std::string keywords;  // cell and record field before
  std::string answer;
  std::string cell;   // cell after
  std::string field;  // the first bytes of the field after, up to its first zero
};

class KeywordAddTest : public ::testing::TestWithParam<KeywordCase> {};

TEST_P(KeywordAddTest, AppendsToTheCellAndWritesAtMost32Bytes) {
  const KeywordCase& c = GetParam();
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1, .keywords = c.keywords}});
  fx.dialogs.QueueInput(c.answer);
  Shown(AppendKeywordToAll(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_EQ(fx.state.List[0].Cell(col::kKeywords), c.cell);
  EXPECT_EQ(DecodeKeywords(fx.state.FileBytes, fx.Offset(1)), c.field);
  EXPECT_FALSE(fx.state.FileSaved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeywordAddTest,
    ::testing::Values(KeywordCase{"EmptyCell", "", "Live", ",Live", ",Live"},
                      KeywordCase{"Appended", "Jazz", "Live", "Jazz,Live", "Jazz,Live"},
                      KeywordCase{"ResultOf40", std::string(30, 'k'), "123456789",
                                  std::string(30, 'k') + ",123456789", std::string(30, 'k') + ",1"},
                      // A field holding 31 characters receives only the comma, 32 nothing.
                      KeywordCase{"FieldOf31", std::string(31, 'k'), "Live",
                                  std::string(31, 'k') + ",Live", std::string(31, 'k') + ","},
                      KeywordCase{"FieldOf32", std::string(32, 'k'), "Live",
                                  std::string(32, 'k') + ",Live", std::string(32, 'k')},
                      KeywordCase{"Windows1252Bytes", "Caf\xE9", "\xC0 la", "Caf\xE9,\xC0 la",
                                  "Caf\xE9,\xC0 la"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeywordAdd, AsksWithItsOwnTextsAndBytesAfterTheTextKeepTheirContents) {
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1, .keywords = "Jazz"}});
  fx.state.FileBytes[fx.Offset(1) + mfd::kKeywords + 20] = 'Q';
  fx.dialogs.QueueInput("Live");
  Shown(AppendKeywordToAll(fx.state, fx.dialogs), fx.dialogs);
  ASSERT_EQ(fx.dialogs.inputPrompts.size(), 1u);
  EXPECT_EQ(fx.dialogs.inputPrompts[0], "Enter text to be included with all keywords");
  EXPECT_EQ(fx.dialogs.inputTitles[0], "Add Keyword to all entries");
  EXPECT_EQ(fx.dialogs.inputDefaults[0], "");
  std::string expected = "Jazz,Live" + std::string(11, '\0') + "Q" + std::string(11, '\0');
  EXPECT_EQ(fx.KeywordField(1), expected);
}

TEST(KeywordAdd, EachRecordGetsItsOwnRowsTextAfterSorting) {
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1, .genre = "Zydeco", .keywords = "One"},
           MainRowBuilder{.number = 2, .genre = "Blues", .keywords = "Two"},
           MainRowBuilder{.number = 3, .genre = "Metal", .keywords = ""}});
  fx.state.List.SetSort(col::kGenre);
  fx.dialogs.QueueInput("Live");
  Shown(AppendKeywordToAll(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_EQ(DecodeKeywords(fx.state.FileBytes, fx.Offset(1)), "One,Live");
  EXPECT_EQ(DecodeKeywords(fx.state.FileBytes, fx.Offset(2)), "Two,Live");
  EXPECT_EQ(DecodeKeywords(fx.state.FileBytes, fx.Offset(3)), ",Live");
  EXPECT_EQ(fx.RowNumbered(2).Cell(col::kKeywords), "Two,Live");
}

TEST(KeywordAdd, CancelOrEmptyAnswerChangesNothing) {
  for (const std::optional<std::string>& answer :
       {std::optional<std::string>{}, std::optional<std::string>{""}}) {
    RowsFixture fx;
    fx.Load({MainRowBuilder{.number = 1, .keywords = "Jazz"}});
    const auto bytes = fx.state.FileBytes;
    fx.dialogs.QueueInput(answer);
    Shown(AppendKeywordToAll(fx.state, fx.dialogs), fx.dialogs);
    EXPECT_EQ(fx.state.List[0].Cell(col::kKeywords), "Jazz");
    EXPECT_EQ(fx.state.FileBytes, bytes);
    EXPECT_TRUE(fx.state.FileSaved);
  }
}

TEST(KeywordAdd, ARowWithoutRecordStopsTheCommandBeforeAnyChange) {
  RowsFixture fx;
  fx.Load({MainRowBuilder{.number = 1, .keywords = "Jazz"}, MainRowBuilder{.number = 2}});
  fx.state.List[1].record = 9;
  const auto bytes = fx.state.FileBytes;
  fx.dialogs.QueueInput("Live");
  Shown(AppendKeywordToAll(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_EQ(fx.state.List[0].Cell(col::kKeywords), "Jazz");
  EXPECT_EQ(fx.state.FileBytes, bytes);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_NE(fx.dialogs.messages[0].text.find("Function mnuKeyword_Add."), std::string::npos);
}

}  // namespace
}  // namespace cadenzo
