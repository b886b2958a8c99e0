// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/list_view_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/command_availability.h"
#include "support/scripted_dialogs.h"
#include "support/shown.h"

namespace cadenzo {
namespace {

// Rows by their Number, Genre, Music and Tempo texts.
using RowTexts = std::array<const char*, 4>;

AppState StateWithRows(const std::vector<RowTexts>& rows) {
  AppState state;
  for (const auto& texts : rows) {
    Row row;
    row.SetCell(col::kNumber, texts[0]);
    row.SetCell(col::kGenre, texts[1]);
    row.SetCell(col::kMusic, texts[2]);
    row.SetCell(col::kTempo, texts[3]);
    state.List.Add(std::move(row));
  }
  return state;
}

std::vector<int> NumbersInOrder(const RecordList& list) {
  std::vector<int> numbers;
  for (const Row& row : list) {
    numbers.emplace_back(
        static_cast<int>(std::strtol(std::string(row.Cell(col::kNumber)).c_str(), nullptr, 10)));
  }
  return numbers;
}

struct SortCase {
  const char* name;
  std::vector<RowTexts> rows;
  std::vector<int> clicks;
  std::vector<std::vector<int>> afterEachClick;  // record numbers top to bottom
  bool descendingAtEnd;
  int sortColumnAtEnd;
};

class ColumnClick : public ::testing::TestWithParam<SortCase> {};

TEST_P(ColumnClick, SortsTheCoreListAsTheListControlDoes) {
  const SortCase& c = GetParam();
  AppState state = StateWithRows(c.rows);
  state.SortColumn = 7;
  state.EditStyleOrFile = "USB:\\Songs\\Hit.mid";
  state.Editor.lblSelectedFile = "Hit.mid";
  testing::ScriptedDialogs dialogs;
  for (std::size_t i = 0; i < c.clicks.size(); ++i) {
    Shown(SortByColumn(state, c.clicks[i]), dialogs);
    EXPECT_EQ(NumbersInOrder(state.List), c.afterEachClick[i]) << "after click " << i + 1;
  }
  EXPECT_TRUE(state.List.SortOn());
  EXPECT_EQ(state.List.SortKey(), c.clicks.back());
  EXPECT_EQ(state.List.SortDescending(), c.descendingAtEnd);
  EXPECT_EQ(state.SortColumn, c.sortColumnAtEnd);
  EXPECT_EQ(state.EditStyleOrFile, "");
  EXPECT_EQ(state.Editor.lblSelectedFile, "");
  EXPECT_TRUE(dialogs.messages.empty());
}

const std::vector<RowTexts> kBand = {{"0001", "Rock", "Zebra", "120"},
                                     {"0002", "Jazz", "apple", " 96"},
                                     {"0003", "Pop", "Mango", "100"}};

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnClick,
    ::testing::Values(
        SortCase{"SameHeaderThreeTimesGoesUpDownUp",
                 kBand,
                 {col::kGenre, col::kGenre, col::kGenre},
                 {{2, 3, 1}, {1, 3, 2}, {2, 3, 1}},
                 false,
                 col::kGenre},
        SortCase{"AnotherHeaderStartsAscending",
                 kBand,
                 {col::kGenre, col::kGenre, col::kMusic},
                 {{2, 3, 1}, {1, 3, 2}, {2, 3, 1}},
                 false,
                 col::kMusic},
        SortCase{"TempoWithItsLeadingBlankSortsNumerically",
                 {{"0001", "", "", "120"},
                  {"0002", "", "", " 96"},
                  {"0003", "", "", "100"},
                  {"0004", "", "", " 80"}},
                 {col::kTempo},
                 {{4, 2, 3, 1}},
                 false,
                 col::kTempo},
        SortCase{"NumberSortsByCharactersSoImportedNumbersFallBetween",
                 {{"0013", "", "", ""},
                  {"00124", "", "", ""},
                  {"0012", "", "", ""},
                  {"0001", "", "", ""}},
                 {col::kMusic, col::kNumber},
                 {{13, 124, 12, 1}, {1, 12, 124, 13}},
                 false,
                 col::kNumber},
        SortCase{"EmptyCellsComeFirstAndKeepTheirOrder",
                 {{"0001", "Pop", "", ""},
                  {"0002", "", "", ""},
                  {"0003", "Jazz", "", ""},
                  {"0004", "", "", ""}},
                 {col::kGenre},
                 {{2, 4, 3, 1}},
                 false,
                 col::kGenre},
        SortCase{"CaseIsIgnoredAndEqualKeysStayInPlace",
                 {{"0001", "pop", "", ""},
                  {"0002", "Jazz", "", ""},
                  {"0003", "POP", "", ""},
                  {"0004", "jazz", "", ""}},
                 {col::kGenre, col::kGenre},
                 {{2, 4, 1, 3}, {1, 3, 2, 4}},
                 true,
                 col::kGenre},
        SortCase{"EmptyListChangesOnlyTheSortState", {}, {col::kStyle}, {{}}, false, col::kStyle}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ColumnClick, ReportsAColumnOutsideTheListAndChangesNothing) {
  for (const int column : {-1, col::kCount}) {
    AppState state = StateWithRows(kBand);
    state.EditStyleOrFile = "kept";
    testing::ScriptedDialogs dialogs;
    Shown(SortByColumn(state, column), dialogs);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Error #: 9, Subscript out of range, encountered in Function ListViewClick. If the "
              "solution is not obvious, please report this to the author.");
    EXPECT_FALSE(state.List.SortOn());
    EXPECT_EQ(NumbersInOrder(state.List), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(state.EditStyleOrFile, "kept");
  }
}

struct CheckCase {
  const char* name;
  std::vector<bool> checks;
  bool deleteCheckedBefore;
  bool playListBefore;
  const char* label;
  bool deleteCheckedAfter;
};

class ItemCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(ItemCheck, CountsAndEnablesTheCheckedCommands) {
  const CheckCase& c = GetParam();
  AppState state = StateWithRows(std::vector<RowTexts>(c.checks.size(), {"0001", "", "", ""}));
  for (std::size_t i = 0; i < c.checks.size(); ++i) state.List[i].checked = c.checks[i];
  state.CheckCommands.deleteChecked = c.deleteCheckedBefore
                                          ? CheckCommandRules::DeleteChecked::kOnWithoutMarks
                                          : CheckCommandRules::DeleteChecked::kOffWhileMarked;
  state.CheckCommands.playListWithoutMarks = c.playListBefore;
  testing::ScriptedDialogs dialogs;

  const int count = Shown(UpdateCheckedCount(state), dialogs);

  EXPECT_EQ(std::to_string(count), c.label);
  const AvailableCommands available = CommandAvailability(state);
  EXPECT_EQ(std::to_string(available.checkedCount), c.label);
  EXPECT_EQ(available.cmdDeleteChecked, c.deleteCheckedAfter);
  // The play list rescans for itself, so it is offered even when nothing is checked.
  EXPECT_TRUE(available.cmdPlayList);
  EXPECT_TRUE(dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ItemCheck,
    ::testing::Values(CheckCase{"TwoOfThree", {true, false, true}, false, false, "2", true},
                      CheckCase{"LastOneUnchecked", {false, false}, true, true, "0", false},
                      CheckCase{"NothingCheckedAfterDisable", {false}, false, false, "0", false},
                      CheckCase{"EmptyList", {}, true, true, "0", false},
                      CheckCase{"AllChecked", {true, true, true, true}, false, true, "4", true}),
    [](const auto& info) { return std::string(info.param.name); });

struct FontCase {
  std::optional<std::string> answer;  // nullopt = Cancel
  std::optional<int> size;            // nullopt = nothing changes
};

class FontSize : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontSize, TakesAWholeNumberAndIgnoresEverythingElseSilently) {
  const FontCase& c = GetParam();
  AppState state;
  state.ListFontSize = 11;
  testing::ScriptedDialogs dialogs;
  dialogs.QueueInput(c.answer);

  const bool changed = ChooseListFontSize(state, dialogs);

  EXPECT_EQ(dialogs.inputPrompts, std::vector<std::string>{"Input font size to use "});
  EXPECT_EQ(dialogs.inputTitles, std::vector<std::string>{"Cadenzo"});
  EXPECT_EQ(dialogs.inputDefaults, std::vector<std::string>{"8"});
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(changed, c.size.has_value());
  EXPECT_EQ(state.ListFontSize, c.size.value_or(11));
  EXPECT_EQ(state.PendingColumnFit, c.size ? ColumnFit::kHeaderAndContents : ColumnFit::kNone);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FontSize,
    ::testing::Values(FontCase{"12", 12}, FontCase{"8", 8}, FontCase{"  10 ", 10},
                      FontCase{"12.4", 12}, FontCase{"12.5", 12}, FontCase{"13.5", 14},
                      FontCase{"72", 72}, FontCase{"", std::nullopt},
                      FontCase{std::nullopt, std::nullopt}, FontCase{"abc", std::nullopt},
                      FontCase{"12pt", std::nullopt}, FontCase{"0", std::nullopt},
                      FontCase{"-9", std::nullopt}, FontCase{"73", std::nullopt},
                      FontCase{"nan", std::nullopt}, FontCase{"1e9", std::nullopt}));

}  // namespace
}  // namespace cadenzo
