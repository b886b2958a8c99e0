// SPDX-License-Identifier: GPL-3.0-or-later
#include "playlist/play_list_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "playlist/play_list_print.h"
#include "support/builders.h"
#include "support/list_rows.h"
#include "support/scripted_dialogs.h"
#include "support/shown.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

using testing::MainRowBuilder;
using testing::MakeList;

const std::string kPlainHeader = "Number\tMusic         \tStyleName\tTimeSig\tTempo\tComments\r\n";
const std::string kImportHeader =
    "Number\tGenre    \tMusic         \tStyle    \tTimeSig\tTempo\tKeywords\tFavorites\t"
    "Search 1\tSearch 2\tIntro\tSection\r\n";

RecordList ThreeSongs() {
  return MakeList({{.number = 3,
                    .genre = "Rock",
                    .music = "Mango",
                    .style = "Pop Rock",
                    .tempo = "128",
                    .keywords = "summer",
                    .fav = "Yes",
                    .intro = "Intro 2",
                    .next = "Main B",
                    .checked = true},
                   {.number = 1,
                    .genre = "Jazz",
                    .music = "apple",
                    .style = "Swing",
                    .timeSig = " 3/ 4",
                    .tempo = " 96",
                    .s2 = "Yes",
                    .intro = "Off",
                    .next = "Ending 1",
                    .checked = true},
                   {.number = 2, .genre = "Pop", .music = "Zebra", .checked = true}});
}

// Writes a text through the given export command and returns the file's bytes.
template <typename Command>
std::string ExportToFile(Command&& command) {
  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  const std::string path = tmp.Str() + "play.txt";
  dialogs.QueueFile(path);
  command(dialogs);
  EXPECT_TRUE(dialogs.messages.empty());
  return testing::ReadText(path);
}

TEST(PlayListPlainExport, DefaultLayoutEndsWithAnEmptyLine) {
  AppState state;
  state.List = ThreeSongs();
  PlayList list;
  list.AppendChecked(state.List);
  const std::string file = ExportToFile(
      [&](Dialogs& dialogs) { Shown(ExportPlayListText(list, state, dialogs), dialogs); });
  EXPECT_EQ(file, kPlainHeader +
                      " 1\tMango\tPop Rock\t 4/ 4\t128\t \r\n"
                      " 2\tapple\tSwing\t 3/ 4\t 96\t \r\n"
                      " 3\tZebra\tCool 8Beat\t 4/ 4\t120\t \r\n"
                      "\r\n");
}

TEST(PlayListPlainExport, SongGenreLayout) {
  RecordList main = ThreeSongs();
  PlayList list;
  list.ChooseLayout(PlayListLayout::kSongGenre, main);
  EXPECT_EQ(PlayListPlainText(list),
            "Number\tGenre         \tMusic         \tStyleName\r\n"
            " 1\tRock\tMango\tPop Rock\r\n"
            " 2\tJazz\tapple\tSwing\r\n"
            " 3\tPop\tZebra\tCool 8Beat\r\n");
}

TEST(PlayListPlainExport, SortedListIsNumberedInDisplayOrder) {
  RecordList main = ThreeSongs();
  PlayList list;
  list.AppendChecked(main);
  list.ClickColumn(plcol::kMusic);
  EXPECT_EQ(PlayListPlainText(list), kPlainHeader +
                                         " 1\tapple\tSwing\t 3/ 4\t 96\t \r\n"
                                         " 2\tMango\tPop Rock\t 4/ 4\t128\t \r\n"
                                         " 3\tZebra\tCool 8Beat\t 4/ 4\t120\t \r\n");
}

TEST(PlayListPlainExport, TabInACommentSplitsItsLine) {
  RecordList main = ThreeSongs();
  PlayList list;
  list.AppendChecked(main);
  list.SetComment(1, "capo\t2");
  const std::string text = PlayListPlainText(list);
  const auto lines = SplitCrLfLines(text);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2], " 2\tapple\tSwing\t 3/ 4\t 96\tcapo\t2");
  EXPECT_EQ(std::count(lines[2].begin(), lines[2].end(), '\t'), 6);
}

TEST(PlayListPlainExport, EmptyListWritesTheHeader) {
  PlayList list;
  EXPECT_EQ(PlayListPlainText(list), kPlainHeader);
}

TEST(PlayListImportableExport, TakesEveryFieldFromTheMainRows) {
  AppState state;
  state.List = ThreeSongs();
  PlayList list;
  list.AppendChecked(state.List);
  list.MoveRow(2, 1);  // Zebra first
  const std::string file = ExportToFile(
      [&](Dialogs& dialogs) { Shown(ExportPlayListImportable(list, state, dialogs), dialogs); });
  EXPECT_EQ(file,
            kImportHeader +
                " 1\tPop\t001 Zebra\tCool 8Beat\t 4/ 4\t120\t\tNo\tNo\tNo\tIntro 1\tMain A\r\n"
                " 2\tRock\t002 Mango\tPop Rock\t 4/ 4\t128\tsummer\tYes\tNo\tNo\tIntro 2\t"
                "Main B\r\n"
                " 3\tJazz\t003 apple\tSwing\t 3/ 4\t 96\t\tNo\tNo\tYes\tOff\tEnding 1\r\n");
}

TEST(PlayListImportableExport, TwelveRowsArePrefixedInDisplayOrder) {
  std::vector<MainRowBuilder> rows;
  for (int i = 1; i <= 12; ++i) {
    rows.push_back({.number = i,
                    .music = "Song " + std::string(1, static_cast<char>('a' + i)),
                    .checked = true});
  }
  const RecordList main = MakeList(rows);
  PlayList list;
  list.ChooseLayout(PlayListLayout::kSongGenre, main);
  list.ClickColumn(plcol::kSgMusic);
  list.ClickColumn(plcol::kSgMusic);  // descending: "Song m" first
  const std::string text = PlayListImportableText(list, main);
  ASSERT_NE(text.substr(text.size() - 2), "\r\n") << "the final line break is left to the writer";
  const std::string file = text + "\r\n";
  const auto lines = SplitCrLfLines(file);
  ASSERT_EQ(lines.size(), 13u);
  for (int i = 1; i <= 12; ++i) {
    const std::string_view line = lines[static_cast<std::size_t>(i)];
    char expected[64];
    std::snprintf(expected, sizeof expected, " %d\tPop\t%03d Song %c\t", i, i, 'a' + 13 - i);
    EXPECT_EQ(line.substr(0, std::strlen(expected)), expected);
  }
}

TEST(PlayListImportableExport, SourceRowFollowsTheSong) {
  RecordList main = ThreeSongs();
  PlayList list;
  list.AppendChecked(main);
  // Record 3 was edited since: it is still the source.
  main[0].SetCell(col::kMusic, "Mango (live)");
  // Record 1 was deleted: its song is left out.
  main[1].SetCell(col::kGenre, "deleted");
  main[1].deleted = true;
  main[1].SetCell(col::kMusic, "");
  main[1].SetCell(col::kStyle, "");
  // Record 2's song now lives under another number (another file was read).
  main[2].SetCell(col::kNumber, "0040");
  main[2].record = 40;
  main.Add(MainRowBuilder{.number = 2, .music = "Other"}.Build());
  EXPECT_EQ(PlayListImportableText(list, main),
            kImportHeader +
                " 1\tRock\t001 Mango (live)\tPop Rock\t 4/ 4\t128\tsummer\tYes\tNo\tNo\tIntro 2\t"
                "Main B\r\n"
                " 3\tPop\t003 Zebra\tCool 8Beat\t 4/ 4\t120\t\tNo\tNo\tNo\tIntro 1\tMain A");
}

TEST(PlayListImportableExport, EmptyListIsTheHeaderAlone) {
  PlayList list;
  const std::string header = kImportHeader.substr(0, kImportHeader.size() - 2);
  EXPECT_EQ(PlayListImportableText(list, RecordList{}), header);
}

TEST(PlayListPrint, PagesHoldFortyOneRows) {
  struct Case {
    std::size_t rows;
    std::vector<std::size_t> counts;
  };
  for (const Case& c :
       {Case{0, {0}}, Case{1, {1}}, Case{41, {41}}, Case{42, {41, 1}}, Case{83, {41, 41, 1}}}) {
    const auto pages = PaginateRows(c.rows, 41);
    std::vector<std::size_t> counts;
    std::size_t next = 0;
    for (const auto& p : pages) {
      EXPECT_EQ(p.first, next);
      next += p.count;
      counts.push_back(p.count);
    }
    EXPECT_EQ(counts, c.counts) << c.rows;
  }
}

TEST(PlayListPrint, ErrorMessagesSkipTheUsersCancel) {
  EXPECT_EQ(PrintErrorMessage(RuntimeError(err::kCancel)), std::nullopt);
  EXPECT_EQ(PrintErrorMessage(RuntimeError(err::kDeviceUnavailable)),
            "Error 68;Device unavailable");
}

}  // namespace
}  // namespace cadenzo
