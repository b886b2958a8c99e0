// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/file_commands.h"

#include <gtest/gtest.h>

#include "mfd/record.h"
#include "support/app_fixture.h"

namespace cadenzo {
namespace {

using testing::AppFixture;
using testing::FileBuilder;
using testing::RecordBuilder;

class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}, {"Pop Rock", "12"}});
    fx.WriteStyleList("PSR-2000", {{"Pop Rock", "14"}, {"Swing", "30"}});
    first =
        fx.dir
            .Write("files/first.mfd", FileBuilder{.records = {RecordBuilder{.style = 291}}}.Build())
            .string();
    second =
        fx.dir
            .Write("files/second.mfd",
                   FileBuilder{.records = {RecordBuilder{}, RecordBuilder{.number = 1}}}.Build())
            .string();
  }

  void OpenFirst() {
    fx.dialogs.QueueFile(first);
    ASSERT_EQ(Presented(ChooseAndOpenFile(fx.state, fx.dialogs), fx.dialogs).next,
              CommandOutcome::kDone);
    ASSERT_EQ(fx.state.List.Size(), 1u);
  }

  AppFixture fx;
  std::string first, second;
};

TEST_F(FileCommandsTest, OpenSetsFolderNameAndCaption) {
  OpenFirst();
  EXPECT_EQ(fx.state.OpenFolder, fx.dir.Str() + "files/");
  EXPECT_EQ(fx.state.FileName, "first.mfd");
  EXPECT_EQ(fx.dialogs.fileRequests[0].filter, "Music Finder Files(*.mfd)|*.mfd|");
  EXPECT_TRUE(fx.state.FileSaved);
}

TEST_F(FileCommandsTest, CancelledOpenChangesNothing) {
  OpenFirst();
  const auto caption = fx.state.Caption;
  fx.dialogs.QueueFile(std::nullopt);
  Presented(ChooseAndOpenFile(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_EQ(fx.state.Caption, caption);
  EXPECT_EQ(fx.state.List.Size(), 1u);
}

TEST_F(FileCommandsTest, ANameNotEndingInMfdIsRefusedButShownInTheCaption) {
  OpenFirst();
  const auto notes = fx.dir.Write("files/notes.txt", std::string("hello")).string();
  fx.dialogs.QueueFile(notes);
  Presented(ChooseAndOpenFile(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_EQ(fx.dialogs.Texts().back(),
            "notes.txt is not a Music Finder file: the program opens only files whose names end "
            "in .mfd. Choose an .mfd file.");
  EXPECT_EQ(fx.state.Caption, "Cadenzo   notes.txt");
  EXPECT_EQ(fx.state.List.Size(), 1u);
  EXPECT_EQ(fx.state.CurrentFilePath, first);
}

TEST_F(FileCommandsTest, NewOffersOnlyBlankTemplatesFromTheAppFolder) {
  const auto blank = fx.dir.Write("app/Blank PSR-S970.mfd", FileBuilder{}.Build()).string();
  fx.dialogs.QueueFile(blank);
  Presented(NewFile(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_EQ(fx.dialogs.fileRequests[0].filter, "Music Finder Files(*.mfd)|Blank*.mfd|");
  EXPECT_EQ(fx.dialogs.fileRequests[0].folder, fx.state.AppPath);
  EXPECT_TRUE(fx.state.FileLoaded);
  EXPECT_EQ(fx.state.OpenFolder, "");
}

struct DiscardCase {
  const char* name;
  Answer answer;
  CommandOutcome outcome;
  std::size_t rowsAfter;
};

class UnsavedChanges : public FileCommandsTest,
                       public ::testing::WithParamInterface<DiscardCase> {};

TEST_P(UnsavedChanges, AreAskedAboutBeforeOpenDiscardsThem) {
  const auto& c = GetParam();
  OpenFirst();
  fx.state.FileSaved = false;
  fx.dialogs.QueueAnswer(c.answer);
  if (c.answer == Answer::kNo) fx.dialogs.QueueFile(second);
  EXPECT_EQ(Presented(ChooseAndOpenFile(fx.state, fx.dialogs), fx.dialogs).next, c.outcome);
  EXPECT_EQ(fx.state.List.Size(), c.rowsAfter);
  const auto& question = fx.dialogs.messages.at(0);
  EXPECT_EQ(question.text, "Your file has not been saved. Do you want to save now ?");
  EXPECT_EQ(question.icon, Icon::kQuestion);
  EXPECT_EQ(question.title, "Open");
  EXPECT_TRUE(fx.dialogs.AllAnswered());
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnsavedChanges,
    ::testing::Values(DiscardCase{"yes", Answer::kYes, CommandOutcome::kShowSaveOptions, 1},
                      DiscardCase{"no", Answer::kNo, CommandOutcome::kDone, 2}));

TEST_F(FileCommandsTest, SourceModeRereadsTheFileAndClickingTheCheckedItemDoesNothing) {
  OpenFirst();
  fx.state.List[0].SetCell(col::kMusic, "edited");
  EXPECT_EQ(Presented(SetSourceMode(fx.state, fx.dialogs, true), fx.dialogs).next,
            CommandOutcome::kDone);
  EXPECT_EQ(fx.state.List[0].Cell(col::kMusic), "edited");
  Presented(SetSourceMode(fx.state, fx.dialogs, false), fx.dialogs);
  EXPECT_EQ(fx.state.List[0].Cell(col::kMusic), "Song");
  EXPECT_EQ(fx.state.List[0].Cell(col::kStyle), "0291");
}

TEST_F(FileCommandsTest, ExitAsksOnlyWithUnsavedChanges) {
  OpenFirst();
  EXPECT_TRUE(ConfirmQuit(fx.state, fx.dialogs));
  fx.state.FileSaved = false;
  fx.dialogs.QueueAnswer(Answer::kYes);
  EXPECT_FALSE(ConfirmQuit(fx.state, fx.dialogs));
  EXPECT_EQ(fx.dialogs.messages.back().title, "Closing Cadenzo");
  fx.dialogs.QueueAnswer(Answer::kNo);
  EXPECT_TRUE(ConfirmQuit(fx.state, fx.dialogs));
}

TEST_F(FileCommandsTest, SaveAsWithoutAFileAsksToSelectOne) {
  EXPECT_FALSE(Presented(PrepareSaveAs(fx.state), fx.dialogs).Ok());
  EXPECT_EQ(fx.dialogs.Texts().at(0), "Select a file to view first");
}

struct ConfirmCase {
  const char* name;
  const char* target;
  bool allowUserStyles;
  int style;            // of the only record
  bool asks;            // a confirmation is shown
  bool sameInstrument;  // which one
};

class SaveOptions : public FileCommandsTest, public ::testing::WithParamInterface<ConfirmCase> {};

TEST_P(SaveOptions, ConfirmOnlyWhenCellsAreColoured) {
  const auto& c = GetParam();
  fx.dir.Write(
      "files/one.mfd",
      FileBuilder{.records = {RecordBuilder{.style = c.style < 0 ? 12 : c.style}}}.Build());
  fx.dialogs.QueueFile(fx.dir.Str() + "files/one.mfd");
  Presented(ChooseAndOpenFile(fx.state, fx.dialogs), fx.dialogs);
  fx.state.TargetInstrument = c.target;
  fx.state.AllowUserStyles = c.allowUserStyles;
  fx.state.DefaultStyle = "Pop Rock";
  // -1: a record of Pop Rock whose style text was replaced by one the list lacks.
  if (c.style < 0) fx.state.List[0].SetCell(col::kStyle, "Nowhere");
  if (c.asks) fx.dialogs.QueueAnswer(Answer::kNo);
  const auto messagesBefore = fx.dialogs.messages.size();
  if (!c.asks) fx.dialogs.QueueFile(std::nullopt);  // the save dialog, cancelled
  Presented(ConvertCommandSave(fx.state, fx.dialogs, false), fx.dialogs);
  EXPECT_EQ(fx.dialogs.messages.size() - messagesBefore, c.asks ? 1u : 0u);
  if (c.asks) {
    const auto& m = fx.dialogs.messages.back();
    EXPECT_EQ(m.title, "Music Fincer Conversion Preview");
    EXPECT_EQ(m.defaultButton, 1);
    EXPECT_EQ(m.text,
              c.sameInstrument ? SameInstrumentConfirmation() : DifferentInstrumentsConfirmation());
  }
  EXPECT_TRUE(fx.dialogs.AllAnswered());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SaveOptions,
    ::testing::Values(
        ConfirmCase{"same, user styles allowed", "PSR-S970", true, 5000, false, true},
        // A user style is kept on its own model: nothing to confirm.
        ConfirmCase{"same, not allowed, user style", "PSR-S970", false, 5000, false, true},
        ConfirmCase{"same, not allowed, style text replaced", "PSR-S970", false, -1, true, true},
        ConfirmCase{"same, not allowed, all found", "PSR-S970", false, 12, false, true},
        ConfirmCase{"different, missing style", "PSR-2000", true, 291, true, false},
        ConfirmCase{"different, all found", "PSR-2000", true, 12, false, false}));

TEST(Confirmations, SeparateParagraphsByAnEmptyLine) {
  const std::string text = DifferentInstrumentsConfirmation();
  EXPECT_EQ(text.rfind("Any styles displayed in colored text", 0), 0u);
  EXPECT_NE(text.find("target instrument.\r\n\r\n* You can change"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 24), "Do you want to continue?");
}

TEST_F(FileCommandsTest, DefaultStyleWindowListsNoneFirstAndSelectsTheCurrentDefault) {
  fx.state.TargetInstrument = "PSR-2000";
  fx.state.DefaultStyle = "";
  const auto choices = Presented(LoadDefaultStyle(fx.state), fx.dialogs);
  ASSERT_TRUE(choices.loaded);
  ASSERT_EQ(choices.entries.size(), 3u);
  EXPECT_EQ(choices.entries[0].text, "None");
  EXPECT_EQ(fx.state.DefaultStyle, "Swing");
  EXPECT_EQ(choices.selected, 2);
  Presented(DefaultStyleCommandOK(fx.state, fx.dialogs, "None"), fx.dialogs);
  EXPECT_EQ(fx.state.DefaultStyle, "None");
}

TEST_F(FileCommandsTest, DefaultStyleWindowNeedsATarget) {
  EXPECT_FALSE(Presented(PrepareDefaultStyle(fx.state), fx.dialogs).Ok());
  EXPECT_FALSE(Presented(LoadDefaultStyle(fx.state), fx.dialogs).loaded);
  EXPECT_EQ(fx.dialogs.Texts().at(0),
            "Please select a target instrument before setting this option");
}

TEST_F(FileCommandsTest, ColourOptionsRerunThePreviewEveryTime) {
  OpenFirst();
  fx.state.List[0].SetCell(col::kStyle, "Unplaced!");
  Presented(SetUnknownStyleColor(fx.state, fx.dialogs, kBlue), fx.dialogs);
  EXPECT_EQ(fx.state.List[0].styleColor, kBlue);
  fx.state.List[0].styleColor = kBlack;
  Presented(SetUnknownStyleColor(fx.state, fx.dialogs, kBlue),
            fx.dialogs);  // already blue: still recoloured
  EXPECT_EQ(fx.state.List[0].styleColor, kBlue);
}

}  // namespace
}  // namespace cadenzo
