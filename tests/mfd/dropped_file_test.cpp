// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "mfd/file_commands.h"
#include "mfd/record.h"
#include "support/app_fixture.h"

namespace cadenzo {
namespace {

using testing::AppFixture;
using testing::FileBuilder;
using testing::RecordBuilder;

struct DropCase {
  const char* name;
  std::vector<std::string> paths;
  bool accepted;
};

class DropAcceptance : public ::testing::TestWithParam<DropCase> {};

TEST_P(DropAcceptance, TakesExactlyOneMusicFinderFile) {
  const auto& c = GetParam();
  const auto dropped = DroppedMusicFinderFile(c.paths);
  ASSERT_EQ(dropped.has_value(), c.accepted);
  if (c.accepted) {
    EXPECT_EQ(*dropped, c.paths.front());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, DropAcceptance,
    ::testing::Values(DropCase{"plain", {"/songs/My Songs.mfd"}, true},
                      DropCase{"upperCase", {"/songs/OLD.MFD"}, true},
                      DropCase{"nothing", {}, false},
                      DropCase{"twoFiles", {"/a/one.mfd", "/a/two.mfd"}, false},
                      DropCase{"textFile", {"/a/notes.txt"}, false},
                      DropCase{"noDotBeforeMfd", {"/a/notesmfd"}, false},
                      DropCase{"onlyTheExtension", {"/a/.mfd"}, false},
                      DropCase{"folderPath", {"/a/b.mfd/"}, false},
                      DropCase{"mfdInTheFolderOnly", {"/a.mfd/notes.txt"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

class OpenDropped : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}});
    first =
        fx.dir.Write("one/first.mfd", FileBuilder{.records = {RecordBuilder{}}}.Build()).string();
    second =
        fx.dir
            .Write("two/second.mfd",
                   FileBuilder{.records = {RecordBuilder{}, RecordBuilder{.number = 1}}}.Build())
            .string();
    ASSERT_EQ(Presented(OpenDroppedFile(fx.state, fx.dialogs, first), fx.dialogs).next,
              CommandOutcome::kDone);
    ASSERT_EQ(fx.state.List.Size(), 1u);
  }

  AppFixture fx;
  std::string first, second;
};

TEST_F(OpenDropped, OpensLikeFileOpenWithoutADialog) {
  EXPECT_EQ(Presented(OpenDroppedFile(fx.state, fx.dialogs, second), fx.dialogs).next,
            CommandOutcome::kDone);
  EXPECT_TRUE(fx.dialogs.fileRequests.empty());
  EXPECT_TRUE(fx.dialogs.messages.empty());
  EXPECT_EQ(fx.state.List.Size(), 2u);
  EXPECT_EQ(fx.state.FileName, "second.mfd");
  EXPECT_EQ(fx.state.CurrentFilePath, second);
  EXPECT_EQ(fx.state.OpenFolder, fx.dir.Str() + "two/");
  EXPECT_EQ(fx.state.Caption.rfind("Cadenzo   second.mfd", 0), 0u) << fx.state.Caption;
  EXPECT_TRUE(fx.state.FileSaved);
}

TEST_F(OpenDropped, AsksBeforeUnsavedChangesAreLost) {
  for (const Answer answer : {Answer::kYes, Answer::kNo}) {
    fx.state.FileSaved = false;
    fx.dialogs.QueueAnswer(answer);
    const auto outcome =
        Presented(OpenDroppedFile(fx.state, fx.dialogs, answer == Answer::kNo ? second : first),
                  fx.dialogs)
            .next;
    ASSERT_FALSE(fx.dialogs.messages.empty());
    const auto& question = fx.dialogs.messages.back();
    EXPECT_EQ(question.text, "Your file has not been saved. Do you want to save now ?");
    EXPECT_EQ(question.title, "Open");
    if (answer == Answer::kYes) {
      // Save first: nothing is opened and the Save As Options window is asked for.
      EXPECT_EQ(outcome, CommandOutcome::kShowSaveOptions);
      EXPECT_EQ(fx.state.List.Size(), 1u);
      EXPECT_EQ(fx.state.OpenFolder, fx.dir.Str() + "one/");
    } else {
      EXPECT_EQ(outcome, CommandOutcome::kDone);
      EXPECT_EQ(fx.state.List.Size(), 2u);
    }
  }
  EXPECT_TRUE(fx.dialogs.AllAnswered());
}

TEST_F(OpenDropped, AMissingFileKeepsTheOpenList) {
  Presented(OpenDroppedFile(fx.state, fx.dialogs, fx.dir.Str() + "gone.mfd"), fx.dialogs);
  ASSERT_EQ(fx.dialogs.Texts().size(), 1u);
  EXPECT_EQ(fx.dialogs.Texts()[0], "Could not find that file ");
  EXPECT_EQ(fx.state.List.Size(), 1u);
}

}  // namespace
}  // namespace cadenzo
