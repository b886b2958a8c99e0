// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/image_writer.h"

#include <gtest/gtest.h>

#include "mfd/record.h"
#include "support/app_fixture.h"

namespace cadenzo {
namespace {

struct CapacityCase {
  const char* target;
  int count;
  bool asks;
};

class Capacity : public ::testing::TestWithParam<CapacityCase> {};

TEST_P(Capacity, AsksOnlyAboveTheTargetsLimit) {
  const auto& c = GetParam();
  testing::ScriptedDialogs dialogs;
  if (c.asks) dialogs.QueueAnswer(Answer::kNo);
  EXPECT_EQ(CheckCapacity(dialogs, c.target, c.count), !c.asks);
  EXPECT_EQ(dialogs.messages.size(), c.asks ? 1u : 0u);
  if (c.asks) {
    const auto& m = dialogs.messages[0];
    EXPECT_EQ(m.buttons, Buttons::kYesNo);
    EXPECT_EQ(m.icon, Icon::kCritical);
    EXPECT_EQ(m.defaultButton, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Capacity,
                         ::testing::Values(CapacityCase{"TYROS 5", 2500, false},
                                           CapacityCase{"TYROS 5", 2501, true},
                                           CapacityCase{"PSR-S770", 1200, false},
                                           CapacityCase{"PSR-S770", 1201, true},
                                           CapacityCase{"CVP-305", 5000, false}));

TEST(Capacity, MessageHasTwoBlanksBeforeTheCount) {
  EXPECT_EQ(CapacityMessage(1201, 1200),
            "This mfd has  1201 and the instrument will only accept 1200.\r\nClick No if you want "
            "to delete some records before saving the file.");
  testing::ScriptedDialogs dialogs;
  dialogs.QueueAnswer(Answer::kYes);
  EXPECT_TRUE(CheckCapacity(dialogs, "TYROS 5", 2501));
}

TEST(FileReferences, DrivesMapBackAndTypesFollowTheEnding) {
  const std::vector<std::uint8_t> source(38 + 92, 0);
  ImageWriter writer(source, "TYROS 5");
  writer.BeginFileReferences();
  writer.AddFileReference(0, "HD:\\a.MP3");
  writer.AddFileReference(1, "Preset:\\b.sty");
  writer.AddFileReference(2, "Z:\\c.wav");
  writer.EmitRecord(0, 1, 38);
  const auto out = writer.FinishImage();
  const std::string text(out.begin(), out.end());
  EXPECT_NE(text.find(std::string("E:\\a.MP3") + '\0'), std::string::npos);
  EXPECT_NE(text.find(std::string("D:\\b.sty") + '\0'), std::string::npos);
  EXPECT_NE(text.find(std::string("Z:\\c.wav") + '\0'), std::string::npos);
  const auto typeOf = [&](const std::string& path) { return out[text.find(path) - 1]; };
  EXPECT_EQ(typeOf("E:\\a.MP3"), 2);
  EXPECT_EQ(typeOf("D:\\b.sty"), 0);
  EXPECT_EQ(typeOf("Z:\\c.wav"), 2);
}

TEST(FileReferences, ManyLongPathsGrowTheBlock) {
  const std::vector<std::uint8_t> source(38 + 92, 0);
  ImageWriter writer(source, "GENOS");
  writer.BeginFileReferences();
  const std::string longPath = "USB:\\" + std::string(300, 'x') + ".mid";
  for (int i = 0; i < 50; ++i) writer.AddFileReference(i, longPath);
  const auto out = writer.FinishImage();
  EXPECT_GT(out.size(), 50u * 300u);
}

class SaveFileTest : public ::testing::Test {
 protected:
  testing::AppFixture fx;
};

TEST_F(SaveFileTest, CancelWritesNothing) {
  fx.state.SaveBytes = {1, 2, 3};
  fx.state.FileSaved = false;
  fx.dialogs.QueueFile(std::nullopt);
  EXPECT_EQ(Presented(SaveFile(fx.state, fx.dialogs), fx.dialogs).path, "");
  EXPECT_FALSE(fx.state.FileSaved);
}

TEST_F(SaveFileTest, ReplacingAskedAndCancelledLeavesTheFile) {
  const auto path = fx.dir.Write("out.mfd", std::string("old"));
  fx.state.SaveBytes = {1, 2, 3};
  fx.state.FileSaved = false;
  fx.dialogs.QueueFile(path.string());
  fx.dialogs.QueueAnswer(Answer::kCancel);
  EXPECT_EQ(Presented(SaveFile(fx.state, fx.dialogs), fx.dialogs).path, "");
  EXPECT_EQ(testing::ReadText(path), "old");
  EXPECT_FALSE(fx.state.FileSaved);
  EXPECT_EQ(fx.dialogs.messages.at(0).text, "This will replace existing file");
  EXPECT_EQ(fx.state.SaveFolder, fx.dir.Str());
}

TEST_F(SaveFileTest, ReplacingConfirmedWritesAndMarksSaved) {
  const auto path = fx.dir.Write("out.mfd", std::string("old"));
  fx.state.SaveBytes = {'n', 'e', 'w'};
  fx.state.FileSaved = false;
  fx.dialogs.QueueFile(path.string());
  fx.dialogs.QueueAnswer(Answer::kOk);
  EXPECT_EQ(Presented(SaveFile(fx.state, fx.dialogs), fx.dialogs).path, path.string());
  EXPECT_EQ(testing::ReadText(path), "new");
  EXPECT_TRUE(fx.state.FileSaved);
}

TEST_F(SaveFileTest, AFailedWriteKeepsTheOldFileAndReportsSaveFile) {
  fx.state.SaveBytes = {'n'};
  fx.state.FileSaved = false;
  fx.dialogs.QueueFile(fx.dir.Str() + "no/such/folder/out.mfd");
  EXPECT_EQ(Presented(SaveFile(fx.state, fx.dialogs), fx.dialogs).path, "");
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text, "That path doesn't exist.");
  EXPECT_FALSE(fx.state.FileSaved);
  if (::geteuid() != 0) {  // root writes through read-only folders
    const auto dir = fx.dir.Path() / "ro";
    std::filesystem::create_directory(dir);
    const auto path = fx.dir.Write("ro/out.mfd", std::string("old"));
    std::filesystem::permissions(
        dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    fx.dialogs.QueueFile(path.string());
    fx.dialogs.QueueAnswer(Answer::kOk);
    EXPECT_EQ(Presented(SaveFile(fx.state, fx.dialogs), fx.dialogs).path, "");
    EXPECT_EQ(testing::ReadText(path), "old");
  }
}

}  // namespace
}  // namespace cadenzo
