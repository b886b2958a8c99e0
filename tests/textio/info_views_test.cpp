// SPDX-License-Identifier: GPL-3.0-or-later
#include "textio/info_views.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/builders.h"
#include "support/scripted_dialogs.h"

namespace cadenzo {
namespace {

struct ViewCase {
  const char* name;
  InfoFileView (*view)(const std::string&);
  std::string fileName;
  std::string caption;
  bool richText;
};

void PrintTo(const ViewCase& c, std::ostream* os) { *os << c.name; }

class InfoViews : public ::testing::TestWithParam<ViewCase> {};

TEST_P(InfoViews, FileAndCaption) {
  const InfoFileView v = GetParam().view("/folder/");
  EXPECT_EQ(v.path, "/folder/" + GetParam().fileName);
  EXPECT_EQ(v.fileName, GetParam().fileName);
  EXPECT_EQ(v.caption, GetParam().caption);
  EXPECT_EQ(v.richText, GetParam().richText);
}

TEST_P(InfoViews, MissingFileShowsItsMessage) {
  testing::TempDir folder;
  testing::ScriptedDialogs dialogs;
  EXPECT_FALSE(LoadInfoFile(GetParam().view(folder.Str()), dialogs).has_value());
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Cannot find the Information File named " +
                                                      GetParam().fileName});
}

TEST_P(InfoViews, AFolderInPlaceOfTheFileShowsTheMessage) {
  testing::TempDir folder;
  std::filesystem::create_directory(folder.Path() / GetParam().fileName);
  testing::ScriptedDialogs dialogs;
  EXPECT_FALSE(LoadInfoFile(GetParam().view(folder.Str()), dialogs).has_value());
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Views, InfoViews,
    ::testing::Values(ViewCase{"guide", &QuickStartGuideView, "QuickStartGuide.rtf",
                               "Cadenzo-Information & Help", true},
                      ViewCase{"conversion_log", &ConversionLogView, "ExportLog.txt",
                               "Items missing styles in target instrument", false},
                      ViewCase{"import_log", &ImportLogView, "ImportLog.txt",
                               "Items not included due in last Import operation", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadInfoFile, LogsLoadAsPlainTextIndentedEverywhere) {
  testing::TempDir folder;
  folder.Write("ImportLog.txt",
               std::string("Item #\tGenre\tSong\tStyle\r\n3\tPop\t{\\b Hit}\tcool8beat\r\n\r\n"));
  testing::ScriptedDialogs dialogs;
  const auto doc = LoadInfoFile(ImportLogView(folder.Str()), dialogs);
  ASSERT_TRUE(doc.has_value());
  EXPECT_EQ(doc->PlainText(), U"Item #\tGenre\tSong\tStyle\n3\tPop\t{\\b Hit}\tcool8beat\n\n");
  for (const auto& p : doc->paragraphs) {
    EXPECT_EQ(p.format.leftIndent, 600);
    EXPECT_EQ(p.format.rightIndent, 600);
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(LoadInfoFile, GuideReadsRichTextAndKeepsItsOwnIndents) {
  testing::TempDir folder;
  folder.Write("QuickStartGuide.rtf",
               std::string("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\b Title\\b0\\par"
                           "\\li360 Step\\par}"));
  testing::ScriptedDialogs dialogs;
  const auto doc = LoadInfoFile(QuickStartGuideView(folder.Str()), dialogs);
  ASSERT_TRUE(doc.has_value());
  ASSERT_EQ(doc->paragraphs.size(), 2u);
  EXPECT_EQ(doc->paragraphs[0].Text(), U"Title");
  EXPECT_TRUE(doc->paragraphs[0].runs[0].format.bold);
  EXPECT_EQ(doc->paragraphs[0].format.leftIndent, 600);
  EXPECT_EQ(doc->paragraphs[1].format.leftIndent, 960);
  EXPECT_EQ(doc->paragraphs[1].format.rightIndent, 600);
}

TEST(LoadInfoFile, AGuideThatIsPlainTextShowsAsPlainText) {
  testing::TempDir folder;
  folder.Write("QuickStartGuide.rtf", std::string("Just text\r\nsecond"));
  testing::ScriptedDialogs dialogs;
  const auto doc = LoadInfoFile(QuickStartGuideView(folder.Str()), dialogs);
  ASSERT_TRUE(doc.has_value());
  EXPECT_EQ(doc->PlainText(), U"Just text\nsecond");
}

TEST(InfoTexts, ManualAndPrintError) {
  EXPECT_EQ(ManualPath("/opt/cadenzo/"), "/opt/cadenzo/Cadenzo.pdf");
  EXPECT_EQ(PrintErrorMessage(482, "Printer error"), "Error 482;Printer error");
}

}  // namespace
}  // namespace cadenzo
