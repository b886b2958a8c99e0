// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_availability.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "list/delete_commands.h"
#include "list/list_view_rules.h"
#include "list/row_commands.h"
#include "mfd/reader.h"
#include "playlist/play_list.h"
#include "support/app_fixture.h"
#include "support/shown.h"

namespace cadenzo {

void PrintTo(const AvailableCommands& a, std::ostream* out) {
  *out << "{DelChk'd " << a.cmdDeleteChecked << ", PlayList " << a.cmdPlayList << ", Delete "
       << a.CmdDelete << ", Modify " << a.cmdModify << ", Replace " << a.cmdReplaceStyle
       << ", checked " << a.checkedCount << ", timing " << a.timeSigAndTempo << a.sections << "}";
}

namespace {

using testing::AppFixture;
using testing::FileBuilder;

// What the person does, through the commands the windows run.
enum class Step {
  kOpen,            // open a file of three records
  kOpenEmpty,       // open a file without records
  kClickRow,        // click the first row
  kToggleRow,       // click the first row's check box
  kCheckAll,        // Check
  kUncheckAll,      // Uncheck
  kInvert,          // Invert
  kDiskStyleRow,    // the second row refers to a style on disk, which Del Chk'd leaves alone
  kDeleteChecked,   // Del Chk'd
  kPreparePlayList  // PlayList
};

struct Scenario {
  const char* name;
  std::vector<Step> steps;
  bool deleteChecked;
  bool playList;
  bool deleteAndModify;
  bool replace;
  int checked;
};

void PrintTo(const Scenario& s, std::ostream* out) { *out << s.name; }

class Availability : public ::testing::TestWithParam<Scenario> {};

TEST_P(Availability, FollowsTheRowsAndTheWayTheyWereReached) {
  const Scenario& s = GetParam();
  AppFixture fx;
  fx.WriteStyleList("PSR-S970", {{"Cool Beat", "1"}});
  PrepareMainWindow(fx.state);
  for (const Step step : s.steps) {
    switch (step) {
      case Step::kOpen:
      case Step::kOpenEmpty: {
        FileBuilder file;
        if (step == Step::kOpen) file.records.resize(3);
        for (std::size_t i = 0; i < file.records.size(); ++i) {
          file.records[i].number = static_cast<int>(i);
        }
        fx.PutFile("test.mfd", file.Build());
        OpenMusicFinderFile(fx.state, fx.dialogs);
        break;
      }
      case Step::kClickRow:
        Shown(SelectRow(fx.state, 0), fx.dialogs);
        break;
      case Step::kToggleRow:
        fx.state.List[0].checked = !fx.state.List[0].checked;
        Shown(UpdateCheckedCount(fx.state), fx.dialogs);
        break;
      case Step::kCheckAll:
        Shown(CheckAll(fx.state), fx.dialogs);
        break;
      case Step::kUncheckAll:
        Shown(UncheckAll(fx.state), fx.dialogs);
        break;
      case Step::kInvert:
        Shown(InvertChecks(fx.state), fx.dialogs);
        break;
      case Step::kDiskStyleRow:
        fx.state.List[1].SetCell(col::kStyle, "D:\\Styles\\Mine.sty");
        break;
      case Step::kDeleteChecked:
        Shown(DeleteCheckedRows(fx.state), fx.dialogs);
        break;
      case Step::kPreparePlayList:
        Shown(PreparePlayList(fx.state), fx.dialogs);
        break;
    }
  }

  AvailableCommands expected;
  expected.cmdDeleteChecked = s.deleteChecked;
  expected.cmdPlayList = s.playList;
  expected.CmdDelete = s.deleteAndModify;
  expected.cmdModify = s.deleteAndModify;
  expected.cmdReplaceStyle = s.replace;
  expected.checkedCount = s.checked;
  EXPECT_EQ(CommandAvailability(fx.state), expected);
}

using enum Step;

INSTANTIATE_TEST_SUITE_P(
    Table, Availability,
    ::testing::Values(
        // name, steps, Del Chk'd, PlayList, Delete+Modify, Replace, checked
        Scenario{"FileNotLoaded", {}, true, true, true, true, 0},
        Scenario{"OpenedNoneCheckedNoneSelected", {kOpen}, false, false, false, false, 0},
        Scenario{"EmptyList", {kOpenEmpty}, false, false, false, false, 0},
        Scenario{"RowSelected", {kOpen, kClickRow}, false, false, true, true, 0},
        Scenario{"SomeChecked", {kOpen, kToggleRow}, true, true, false, false, 1},
        Scenario{"AllChecked", {kOpen, kCheckAll}, true, true, false, false, 3},
        Scenario{
            "LastMarkTakenByHand", {kOpen, kToggleRow, kToggleRow}, false, true, false, false, 0},
        Scenario{"CheckAllOnEmptyList", {kOpenEmpty, kCheckAll}, true, true, false, false, 0},
        Scenario{"CheckedRowDelChkdMayNotDelete",
                 {kOpen, kDiskStyleRow, kCheckAll, kDeleteChecked},
                 false,
                 true,
                 false,
                 false,
                 1},
        Scenario{"UncheckedAfterCheckAll",
                 {kOpen, kCheckAll, kUncheckAll},
                 false,
                 false,
                 false,
                 false,
                 0},
        Scenario{"InvertedToNone", {kOpen, kCheckAll, kInvert}, false, false, false, false, 0},
        Scenario{"InvertedToAll", {kOpen, kInvert, kClickRow}, true, true, true, true, 3},
        Scenario{"PlayListFoundNone",
                 {kOpen, kToggleRow, kToggleRow, kPreparePlayList},
                 false,
                 false,
                 false,
                 false,
                 0},
        Scenario{"ReopenedForgetsTheClick",
                 {kOpen, kClickRow, kCheckAll, kOpen},
                 false,
                 false,
                 false,
                 false,
                 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace cadenzo
