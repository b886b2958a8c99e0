// SPDX-License-Identifier: GPL-3.0-or-later
#include "textio/delimited_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/builders.h"
#include "support/list_rows.h"
#include "support/scripted_dialogs.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

using testing::MainRowBuilder;
using testing::MakeList;

const std::string kHeader =
    "Number\tGenre    \tMusic         \tStyle    \tTimeSig\tTempo\tKeywords\tFavorites\t"
    "Search 1\tSearch 2\tIntro\tSection";

struct ExportCase {
  std::string name;
  std::vector<MainRowBuilder> rows;
  int sortColumn = -1;  // -1: record order
  std::string expected;
};

void PrintTo(const ExportCase& c, std::ostream* out) { *out << c.name; }

class ExportText : public ::testing::TestWithParam<ExportCase> {};

TEST_P(ExportText, IsExact) {
  const auto& c = GetParam();
  RecordList list = MakeList(c.rows);
  if (c.sortColumn >= 0) list.SetSort(c.sortColumn);
  EXPECT_EQ(DelimitedExportText(list), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportText,
    ::testing::Values(
        ExportCase{"EmptyListIsTheHeaderAlone", {}, -1, kHeader},
        ExportCase{"EveryColumnInOrder",
                   {{.number = 7,
                     .genre = "Rock",
                     .music = "Hit",
                     .style = "USB:\\Songs\\Hit.mid",
                     .timeSig = " 3/ 4",
                     .tempo = " 96",
                     .keywords = "kw",
                     .fav = "Yes",
                     .s1 = "No",
                     .s2 = "Yes",
                     .intro = "Off",
                     .next = "Ending 2"}},
                   -1,
                   kHeader +
                       "\r\n 1\tRock\tHit\tUSB:\\Songs\\Hit.mid\t 3/ 4\t 96\tkw\tYes\tNo\tYes\t"
                       "Off\tEnding 2"},
        ExportCase{"DeletedRowIsLeftOutAndARealGenreDeletedIsKept",
                   {{.number = 1, .music = "A"},
                    {.number = 2,
                     .genre = "deleted",
                     .music = "",
                     .style = "",
                     .timeSig = "",
                     .tempo = "",
                     .fav = "Yes",
                     .deleted = true},
                    {.number = 3, .genre = "deleted", .music = "B"}},
                   -1,
                   kHeader +
                       "\r\n 1\tPop\tA\tCool 8Beat\t 4/ 4\t120\t\tNo\tNo\tNo\tIntro 1\tMain A"
                       "\r\n 2\tdeleted\tB\tCool 8Beat\t 4/ 4\t120\t\tNo\tNo\tNo\tIntro 1\tMain A"},
        ExportCase{
            "SortedListIsNumberedInDisplayOrder",
            {{.number = 1, .music = "Zebra"},
             {.number = 2, .music = "apple"},
             {.number = 3, .music = "Mango"}},
            col::kMusic,
            kHeader + "\r\n 1\tPop\tapple\tCool 8Beat\t 4/ 4\t120\t\tNo\tNo\tNo\tIntro 1\tMain A"
                      "\r\n 2\tPop\tMango\tCool 8Beat\t 4/ 4\t120\t\tNo\tNo\tNo\tIntro 1\tMain A"
                      "\r\n 3\tPop\tZebra\tCool 8Beat\t 4/ 4\t120\t\tNo\tNo\tNo\tIntro 1\tMain A"}),
    [](const auto& info) { return info.param.name; });

// A TAB, CR or LF in any field is written as a blank, so that every row stays one line of
// twelve fields; the fields that held one are counted once each.
TEST(ExportText, TabsAndLineBreaksBecomeBlanksAndAreCounted) {
  const RecordList list = MakeList({{.number = 1,
                                     .genre = "Po\tp",
                                     .music = "Line\r\nBreak\n",
                                     .style = "Cool\r8Beat",
                                     .keywords = "a\tb\tc"},
                                    {.number = 2, .music = "Plain"}});
  const DelimitedExport out = BuildDelimitedExport(list);
  EXPECT_EQ(out.blankedFields, 4);
  EXPECT_EQ(out.text,
            kHeader +
                "\r\n 1\tPo p\tLine  Break \tCool 8Beat\t 4/ 4\t120\ta b c\tNo\tNo\tNo\t"
                "Intro 1\tMain A"
                "\r\n 2\tPop\tPlain\tCool 8Beat\t 4/ 4\t120\t\tNo\tNo\tNo\tIntro 1\tMain A");
  EXPECT_EQ(DelimitedExportText(list), out.text);
  EXPECT_EQ(BuildDelimitedExport(MakeList({{.number = 1}})).blankedFields, 0);
}

TEST(ExportText, TenthLineIsNumberedWithOneLeadingBlank) {
  std::vector<MainRowBuilder> rows;
  for (int i = 1; i <= 12; ++i) rows.push_back({.number = 100 + i});
  const std::string file = DelimitedExportText(MakeList(rows)) + "\r\n";
  const auto lines = SplitCrLfLines(file);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[10].substr(0, 4), " 10\t");
  EXPECT_EQ(lines[12].substr(0, 4), " 12\t");
}

class SaveDelimited : public ::testing::Test {
 protected:
  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  AppState state;
};

TEST_F(SaveDelimited, StartsInExportFolderElseImportFolder) {
  struct Case {
    std::string exportFolder, importFolder, expected;
  };
  for (const Case& c : {Case{"/e/", "/i/", "/e/"}, Case{"", "/i/", "/i/"}, Case{"", "", ""}}) {
    state.ExportFolder = c.exportFolder;
    state.ImportFolder = c.importFolder;
    dialogs.QueueFile(std::nullopt);
    EXPECT_EQ(Presented(SaveDelimitedFile(state, dialogs, "x"), dialogs).path, "");
    ASSERT_FALSE(dialogs.fileRequests.empty());
    const FileRequest& r = dialogs.fileRequests.back();
    EXPECT_EQ(r.folder, c.expected);
    EXPECT_EQ(r.fileName, "");
    EXPECT_EQ(r.filter, "Text file|*.txt");
    EXPECT_EQ(r.defaultExtension, "txt");
    // A cancelled choice leaves the folder memory alone.
    EXPECT_EQ(state.ExportFolder, c.exportFolder);
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SaveDelimited, WritesTheTextFollowedByCrLf) {
  const std::string path = tmp.Str() + "out.txt";
  dialogs.QueueFile(path);
  EXPECT_EQ(Presented(SaveDelimitedFile(state, dialogs, "a\tb\r\nc"), dialogs).path, path);
  EXPECT_EQ(testing::ReadText(path), "a\tb\r\nc\r\n");
  EXPECT_EQ(state.ExportFolder, tmp.Str());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SaveDelimited, AsksBeforeReplacingAnExistingFile) {
  const auto path = tmp.Write("old.txt", std::string("old"));
  for (const Answer answer : {Answer::kCancel, Answer::kOk}) {
    state.ExportFolder.clear();
    dialogs.QueueFile(path.string());
    dialogs.QueueAnswer(answer);
    Presented(SaveDelimitedFile(state, dialogs, "new"), dialogs);
    // The folder is remembered before the question, whatever the answer.
    EXPECT_EQ(state.ExportFolder, tmp.Str());
    ASSERT_FALSE(dialogs.messages.empty());
    const MessageRequest& m = dialogs.messages.back();
    EXPECT_EQ(m.text, "This will replace existing file");
    EXPECT_EQ(m.buttons, Buttons::kOkCancel);
    EXPECT_EQ(m.icon, Icon::kExclamation);
    EXPECT_EQ(testing::ReadText(path), answer == Answer::kOk ? "new\r\n" : "old");
  }
  EXPECT_TRUE(dialogs.AllAnswered());
}

TEST_F(SaveDelimited, WriteFailureIsReportedAndLeavesNoFile) {
  const std::string path = tmp.Str() + "missing/out.txt";
  dialogs.QueueFile(path);
  EXPECT_EQ(Presented(SaveDelimitedFile(state, dialogs, "x"), dialogs).path, "");
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"That path doesn't exist."});
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SaveDelimited, ReadOnlyTargetKeepsItsContents) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const auto folder = tmp.Path() / "locked";
  std::filesystem::create_directory(folder);
  const auto path = folder / "list.txt";
  std::ofstream(path, std::ios::binary) << "keep";
  ::chmod(folder.c_str(), 0555);
  dialogs.QueueFile(path.string());
  dialogs.QueueAnswer(Answer::kOk);
  EXPECT_EQ(Presented(SaveDelimitedFile(state, dialogs, "new"), dialogs).path, "");
  ::chmod(folder.c_str(), 0755);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].text,
            "list.txt could not be saved: the file or its folder " + folder.string() +
                " may not be written (it is read-only, or belongs to someone else). Nothing was "
                "written; a file of that name was left as it was. Save under another name or in "
                "another folder.");
  EXPECT_EQ(testing::ReadText(path), "keep");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST(WriteTextFileContents, ReplacesTheFileWithTextAndCrLf) {
  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  const auto path = tmp.Write("ExportLog.txt", std::string("a much longer old log text"));
  EXPECT_TRUE(Presented(WriteTextFileContents(path.string(), "line 1\r\nline 2"), dialogs).Ok());
  EXPECT_EQ(testing::ReadText(path), "line 1\r\nline 2\r\n");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(WriteTextFileContents, FailureIsReportedUnderItsName) {
  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  // A folder where the log should be: the error names the writer.
  std::filesystem::create_directory(tmp.Path() / "ImportLog.txt");
  EXPECT_FALSE(Presented(WriteTextFileContents(tmp.Str() + "ImportLog.txt", "x"), dialogs).Ok());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].text.find("WriteTextFileContents"), std::string::npos);
}

TEST(MnuTextFile, ExportsTheMainListToTheChosenFile) {
  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  AppState state;
  state.List = MakeList({{.number = 2, .music = "B"}, {.number = 1, .music = "A"}});
  const std::string path = tmp.Str() + "list.txt";
  dialogs.QueueFile(path);
  Presented(ExportDelimitedText(state, dialogs), dialogs);
  EXPECT_EQ(testing::ReadText(path),
            kHeader +
                "\r\n 1\tPop\tB\tCool 8Beat\t 4/ 4\t120\t\tNo\tNo\tNo\tIntro 1\tMain A"
                "\r\n 2\tPop\tA\tCool 8Beat\t 4/ 4\t120\t\tNo\tNo\tNo\tIntro 1\tMain A\r\n");
  EXPECT_TRUE(dialogs.messages.empty());
}

// The window says how many fields were written with blanks, after the file is written; a
// cancelled export says nothing.
TEST(MnuTextFile, SaysHowManyFieldsWereWrittenWithBlanks) {
  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  AppState state;
  state.List = MakeList({{.number = 1, .genre = "a\tb"}, {.number = 2, .keywords = "x\ny"}});
  dialogs.QueueFile(std::nullopt);
  Presented(ExportDelimitedText(state, dialogs), dialogs);
  EXPECT_TRUE(dialogs.messages.empty());
  const std::string path = tmp.Str() + "list.txt";
  dialogs.QueueFile(path);
  Presented(ExportDelimitedText(state, dialogs), dialogs);
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{BlankedFieldsNote(2)});
  EXPECT_NE(BlankedFieldsNote(2).find("2 fields"), std::string::npos);
  EXPECT_EQ(SplitTextLines(testing::ReadText(path)).size(), 3u);
}

TEST(MnuTextFile, EmptyListWritesTheHeaderLine) {
  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  AppState state;
  dialogs.QueueFile(tmp.Str() + "empty.txt");
  Presented(ExportDelimitedText(state, dialogs), dialogs);
  EXPECT_EQ(testing::ReadText(tmp.Path() / "empty.txt"), kHeader + "\r\n");
}

}  // namespace
}  // namespace cadenzo
