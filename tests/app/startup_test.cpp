// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_state.h"
#include "app/paths.h"
#include "mfd/record.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

struct CommandLineCase {
  std::vector<std::string> arguments;
  const char* file;
};

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, IsOnePathWithQuotesDropped) {
  const auto& c = GetParam();
  EXPECT_EQ(CommandLineFileFrom(JoinCommandLine(c.arguments)), c.file);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLine,
    ::testing::Values(CommandLineCase{{"\"/music/My File.mfd\""}, "/music/My File.mfd"},
                      CommandLineCase{{"/music/a.mfd"}, "/music/a.mfd"},
                      CommandLineCase{{"/music/My", "File.mfd"}, "/music/My File.mfd"},
                      CommandLineCase{{"\"/a b.mfd\"", "x"}, "/a b.mfd\" "},
                      CommandLineCase{{"\""}, ""}, CommandLineCase{{}, ""}));

TEST(Caption, NamesTheFileAfterThreeBlanks) {
  EXPECT_EQ(FileCaption(NamePartOf("/music/My File.mfd")), "Cadenzo   My File.mfd");
  EXPECT_EQ(NamePartOf("plain.mfd"), "plain.mfd");
}

TEST(TrimAtNul, CutsAtTheFirstNul) {
  EXPECT_EQ(TrimAtNul(std::string("abc\0def", 7)), "abc");
  EXPECT_EQ(TrimAtNul(std::string("\0abc", 4)), "");
  EXPECT_EQ(TrimAtNul(""), "");
  EXPECT_EQ(TrimAtNul("plain"), "plain");
}

TEST(UserFolder, CreatesTheSubfolderOneLevelDeep) {
  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  const auto data = (tmp.Path() / "share").string();
  const auto folder = GetUserFolder(data, "Cadenzo", "/exe/", dialogs);
  EXPECT_EQ(folder, data + "/Cadenzo/");
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(UserFolder, FallsBackToTheExecutableFolderWithAMessage) {
  testing::ScriptedDialogs dialogs;
  EXPECT_EQ(GetUserFolder("", "Cadenzo", "/exe", dialogs), "/exe/");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "An invalid folder ID was specified - using application path");
}

TEST(AppPath, PrefersTheExecutableFolderWhenItHoldsTheData) {
  testing::TempDir tmp;
  tmp.Write("bin/StyleReplacementTable.txt", "");
  EXPECT_EQ(GetAppPath(tmp.Str() + "bin"), tmp.Str() + "bin/");
  tmp.Write("inst/bin/cadenzo", "");
  std::filesystem::create_directories(tmp.Path() / "inst/share/cadenzo");
  EXPECT_EQ(GetAppPath(tmp.Str() + "inst/bin"), tmp.Str() + "inst/share/cadenzo/");
}

TEST(StartState, HasTheDocumentedDefaults) {
  AppState state;
  state.OpenFolder = "x";
  state.AllowUserStyles = false;
  state.UnknownStyleColor = kBlue;
  ResetStartState(state);
  EXPECT_EQ(state.OpenFolder, "");
  EXPECT_TRUE(state.AllowUserStyles);
  EXPECT_EQ(state.UnknownStyleColor, 255u);
  EXPECT_EQ(HeaderRecordCount(state), 0);
  EXPECT_TRUE(state.FileSaved);
  EXPECT_FALSE(state.FileLoaded);
  EXPECT_TRUE(state.AutoDetect);
}

}  // namespace
}  // namespace cadenzo
