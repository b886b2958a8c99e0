// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/edit_commands.h"

#include <gtest/gtest.h>

#include "app/command_availability.h"
#include "editing/editor_fixture.h"
#include "support/shown.h"

namespace cadenzo {
namespace {

using testing::EditorTest;

constexpr const char* kSelectFirst = "Please select an item in the list first.";

TEST_F(EditorTest, AddAndModifyNeedAnOpenFileAndASelection) {
  EXPECT_FALSE(Shown(StartModifyRecord(fx.state), fx.dialogs));
  EXPECT_TRUE(fx.dialogs.messages.empty());
  EXPECT_FALSE(Shown(StartAddRecord(fx.state), fx.dialogs));
  EXPECT_EQ(fx.dialogs.Texts().back(), "Please open a existing or blank music finder file first");

  Open(3);
  fx.dialogs.messages.clear();
  EXPECT_FALSE(Shown(StartModifyRecord(fx.state), fx.dialogs));
  EXPECT_FALSE(Shown(StartAddRecord(fx.state), fx.dialogs));
  EXPECT_EQ(fx.dialogs.Texts(),
            (std::vector<std::string>{
                kSelectFirst,
                std::string(kSelectFirst) + "\r\nThe data of this item is used as default."}));
}

TEST_F(EditorTest, AddOnAnEmptyFileNeedsNoSelectionAndStartsEmpty) {
  Open(0);
  // What an earlier file's record left in the editor.
  EditorLists& ed = fx.state.Editor;
  ed.cboIntro = 5;
  ed.cboStyle = 1;
  ed.txtMusic = "Old Song";
  ed.txtTempo = "99";
  ed.txtKeywords = "old";
  ed.cboGenre = "Pop";
  ed.chkFavorite = ed.chkSearch1 = ed.chkSearch2 = true;
  ed.lblSelectedFile = "USB:/old.mid";
  fx.state.EditStyleOrFile = "USB:/old.mid";
  ChooseTimeSignature(fx.state, TimeSigOption::k34);
  EnableTimingControls(ed, false);

  ASSERT_TRUE(Shown(StartAddRecord(fx.state), fx.dialogs));
  EXPECT_TRUE(fx.dialogs.messages.empty());
  EXPECT_TRUE(fx.state.EditIsNew);
  EXPECT_EQ(ed.cboIntro, 0);
  EXPECT_EQ(ed.cboSection, 0);
  EXPECT_EQ(ed.cboStyle, -1);
  for (const std::string* text :
       {&ed.txtMusic, &ed.txtTempo, &ed.txtKeywords, &ed.cboGenre, &ed.lblSelectedFile,
        &ed.timeSigOption, &fx.state.EditStyleOrFile, &fx.state.EditTimeSig}) {
    EXPECT_EQ(*text, "");
  }
  EXPECT_FALSE(ed.chkFavorite || ed.chkSearch1 || ed.chkSearch2);
  for (std::size_t i = 0; i < kTimingControls.size(); ++i) {
    EXPECT_TRUE(TimingControlEnabled(CommandAvailability(fx.state), i)) << kTimingControls[i];
  }
}

// S, I and X of the selected row choose the editor's controls.
struct SelectCase {
  const char* name;
  std::string style;
  std::string intro;
  std::string next;
  std::string expectedStyle;  // selected cboStyle text, "" for none
  std::string expectedFile;   // lblSelectedFile
  int expectedIntro;
  int expectedSection;
};

class ModifySelects : public EditorTest, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(ModifySelects, TheRowsStyleAndSections) {
  const auto& c = GetParam();
  Open(3);
  Click(2);
  Row& row = fx.state.List[static_cast<std::size_t>(fx.state.List.FindByRecord(2))];
  row.SetCell(col::kStyle, c.style);
  row.SetCell(col::kIntro, c.intro);
  row.SetCell(col::kNext, c.next);
  fx.state.Editor.cboStyle = 0;
  fx.state.Editor.lblSelectedFile = "USB:/old.mid";
  EnableTimingControls(fx.state.Editor, false);

  ASSERT_TRUE(Shown(StartModifyRecord(fx.state), fx.dialogs));
  const EditorLists& ed = fx.state.Editor;
  EXPECT_FALSE(fx.state.EditIsNew);
  EXPECT_EQ(ed.cboStyle < 0 ? "" : ed.styles[static_cast<std::size_t>(ed.cboStyle)].text,
            c.expectedStyle);
  EXPECT_EQ(ed.lblSelectedFile, c.expectedFile);
  EXPECT_EQ(ed.cboIntro, c.expectedIntro);
  EXPECT_EQ(ed.cboSection, c.expectedSection);
  EXPECT_TRUE(fx.state.EditStyleOrFile.empty());
  for (std::size_t i = 0; i < kTimingControls.size(); ++i) {
    EXPECT_TRUE(TimingControlEnabled(CommandAvailability(fx.state), i)) << kTimingControls[i];
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ModifySelects,
    ::testing::Values(
        SelectCase{"PresetStyle", "Funk", "Main B", "Ending 1", "Funk", "", 5, 8},
        SelectCase{"UsbFile", "USB:/Songs/a.mid", "Intro 2", "Off", "", "USB:/Songs/a.mid", 2, 0},
        SelectCase{"StyleNotInTheList", "Bossa", "Intro 1", "Main A", "", "", 1, 4},
        SelectCase{"UnknownSections", "Pop Rock", "intro 1", "", "Pop Rock", "", 0, 0}),
    [](const ::testing::TestParamInfo<SelectCase>& info) { return info.param.name; });

TEST_F(EditorTest, ModifyRefusesUserAreaAndDeletedRows) {
  Open(3);
  Row& user = fx.state.List[static_cast<std::size_t>(fx.state.List.FindByRecord(1))];
  user.SetCell(col::kStyle, "User:/My/a.sty");
  Row& deleted = fx.state.List[static_cast<std::size_t>(fx.state.List.FindByRecord(2))];
  deleted.SetCell(col::kGenre, "deleted");
  deleted.deleted = true;
  Row& lower = fx.state.List[static_cast<std::size_t>(fx.state.List.FindByRecord(3))];
  lower.SetCell(col::kStyle, "USER:/My/b.sty");  // the protection compares exactly

  Click(1);
  EXPECT_FALSE(Shown(StartModifyRecord(fx.state), fx.dialogs));
  EXPECT_EQ(fx.dialogs.Texts(),
            std::vector<std::string>{
                "This is a Preset file in the User Area and it cannot be modified from Cadenzo"});
  Click(2);
  EXPECT_FALSE(Shown(StartModifyRecord(fx.state), fx.dialogs));
  EXPECT_EQ(fx.dialogs.messages.size(), 1u);
  Click(3);
  EXPECT_TRUE(Shown(StartModifyRecord(fx.state), fx.dialogs));

  // Either may still be the template of a new record.
  Click(1);
  EXPECT_TRUE(Shown(StartAddRecord(fx.state), fx.dialogs));
  EXPECT_EQ(fx.state.Editor.lblSelectedFile, "User:/My/a.sty");
  Click(2);
  EXPECT_TRUE(Shown(StartAddRecord(fx.state), fx.dialogs));
}

TEST_F(EditorTest, BothCommandsSortTheListByNumberFirst) {
  Open(4);
  fx.state.List.SetSort(col::kGenre, true);
  ASSERT_NE(fx.state.List[0].Cell(col::kNumber), "0001");
  Click(3);
  ASSERT_TRUE(Shown(StartModifyRecord(fx.state), fx.dialogs));
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(fx.state.List[i].record, int(i) + 1);

  fx.state.List.SetSort(col::kGenre, true);
  ASSERT_TRUE(Shown(StartAddRecord(fx.state), fx.dialogs));
  EXPECT_EQ(fx.state.List.SortKey(), col::kNumber);
  EXPECT_FALSE(fx.state.List.SortDescending());
}

TEST_F(EditorTest, AddKeepsTheMediaFileAndTheEnabledStates) {
  Open(2);
  Click(1);
  fx.state.Editor.lblSelectedFile = "USB:/prev.mid";
  EnableTimingControls(fx.state.Editor, false);
  Row& row = fx.state.List[static_cast<std::size_t>(fx.state.List.FindByRecord(1))];
  row.SetCell(col::kStyle, "Bossa");  // not in the list: no style click happens
  ASSERT_TRUE(Shown(StartAddRecord(fx.state), fx.dialogs));
  EXPECT_EQ(fx.state.Editor.lblSelectedFile, "USB:/prev.mid");
  EXPECT_FALSE(CommandAvailability(fx.state).timeSigAndTempo);

  // A style found in the list replaces the file, as a click on it would.
  row.SetCell(col::kStyle, "Funk");
  ASSERT_TRUE(Shown(StartAddRecord(fx.state), fx.dialogs));
  EXPECT_EQ(fx.state.Editor.lblSelectedFile, "");
}

}  // namespace
}  // namespace cadenzo
