// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/bulk_replace.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "mfd/byte_io.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "support/app_fixture.h"
#include "support/shown.h"

namespace cadenzo {
namespace {

using testing::AppFixture;
using testing::FileBuilder;
using testing::Presented;
using testing::RecordBuilder;

struct KeywordCase {
  const char* name;
  KeywordMatch match;
  std::string keywords, current, replacement, expected;
};
void PrintTo(const KeywordCase& c, std::ostream* os) { *os << c.name; }

class KeywordRuleTest : public ::testing::TestWithParam<KeywordCase> {};

TEST_P(KeywordRuleTest, GivesTheDocumentedText) {
  const KeywordCase& c = GetParam();
  EXPECT_EQ(ReplaceKeywordText(c.keywords, c.current, c.replacement, c.match), c.expected);
}

constexpr auto kWhole = KeywordMatch::kWholeKeyword;
constexpr auto kChars = KeywordMatch::kCharacters;

INSTANTIATE_TEST_SUITE_P(
    Cases, KeywordRuleTest,
    ::testing::Values(
        KeywordCase{"StarRemovesAKeywordWithItsComma", kWhole, "pop,rock", "pop", "*", "rock"},
        KeywordCase{"StarAtTheEndStays", kWhole, "pop,rock", "rock", "*", "pop,*"},
        KeywordCase{"StarInTheMiddle", kWhole, "a,pop,b", "POP", "*", "a,b"},
        KeywordCase{"WholeIgnoresCase", kWhole, "Pop,POP,pops", "pop", "jazz", "jazz,jazz,pops"},
        KeywordCase{"WholeDoesNotTrimParts", kWhole, "pop, rock", "rock", "jazz", "pop, rock"},
        KeywordCase{"CurrentStarClearsAll", kWhole, "pop,rock", "*", "jazz", ""},
        KeywordCase{"StarOfOtherRowsIsKept", kWhole, "best*,pop", "rock", "*", "best*,pop"},
        KeywordCase{"EmptyKeywordsStayEmpty", kWhole, "", "", "new", ""},
        KeywordCase{"CharactersFirstOccurrenceOnly", kChars, "pop,top", "op", "OP", "pOP,top"},
        KeywordCase{"CharactersIsCaseSensitive", kChars, "Pop", "pop", "x", "Pop"},
        KeywordCase{"CharactersInsideAWord", kChars, "swing,jazz", "ing,j", "-", "sw-azz"},
        KeywordCase{"CharactersEmptyMatchesNothing", kChars, "pop", "", "x", "pop"}),
    [](const auto& info) { return std::string(info.param.name); });

class BulkReplaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}, {"Pop Rock", "12"}, {"Funk", "77"}});
    FileBuilder file;
    file.records = {
        RecordBuilder{.number = 0, .style = 291, .genre = "Pop", .keywords = "pop,rock"},
        RecordBuilder{.number = 1, .style = 12, .genre = "pop", .keywords = "Pop"},
        RecordBuilder{.number = 2, .style = 291, .genre = "Rock", .keywords = "pop, rock"},
        RecordBuilder{.number = 3, .style = 77, .genre = "Pop", .keywords = "pop,top"},
    };
    fx.PutFile("in.mfd", file.Build());
    Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
    ASSERT_TRUE(fx.state.FileLoaded);
    std::filesystem::remove(fx.state.UserFolder + "ExportLog.txt");
  }

  std::size_t R(int record) const { return mfd::RecordOffset(static_cast<std::size_t>(record)); }
  int StyleBytes(int record) const { return ReadU16(fx.state.FileBytes, R(record) + mfd::kStyle); }
  std::string Genre(int record) const { return DecodeGenre(fx.state.FileBytes, R(record)); }
  std::string Keywords(int record) const { return DecodeKeywords(fx.state.FileBytes, R(record)); }
  const Row& RowOf(int record) const {
    return fx.state.List[static_cast<std::size_t>(fx.state.List.FindByRecord(record))];
  }
  bool PreviewRan() const { return std::filesystem::exists(fx.state.UserFolder + "ExportLog.txt"); }

  AppFixture fx;
};

TEST_F(BulkReplaceTest, OpeningNeedsARowSelectedSinceTheOpen) {
  fx.state.EditStyleOrFile = "USB:x.mid";
  EXPECT_FALSE(Presented(PrepareStyleReplace(fx.state), fx.dialogs).Ok());
  EXPECT_EQ(fx.dialogs.Texts(), std::vector<std::string>{kSelectItemFirst});
  fx.state.SelectedRecord = 2;
  EXPECT_TRUE(Presented(PrepareStyleReplace(fx.state), fx.dialogs).Ok());
  EXPECT_EQ(fx.state.EditStyleOrFile, "");
  EXPECT_EQ(fx.dialogs.messages.size(), 1u);
}

TEST_F(BulkReplaceTest, LoadShowsTheSelectedRowAndSortsTheGenresInPlace) {
  fx.state.SelectedRecord = 3;
  fx.state.SelectedStyleText = "Cool Beat";
  fx.state.GenreList = {"pop", "Rock", "Pop", "", "zz"};
  const StyleReplaceSetup setup = Presented(LoadStyleReplace(fx.state), fx.dialogs);
  ASSERT_TRUE(setup.loaded);
  ASSERT_EQ(setup.styles.size(), 3u);
  EXPECT_EQ(setup.styles[0].text, "Cool Beat");
  EXPECT_EQ(setup.styles[0].data, 291);
  EXPECT_EQ(setup.currentStyle, "Cool Beat");
  EXPECT_EQ(setup.currentGenre, "Rock");
  EXPECT_EQ(setup.genres, (std::vector<std::string>{"Pop", "Rock", "pop"}));
  EXPECT_EQ(setup.genreIndex, 1);
  EXPECT_EQ(fx.state.GenreList, (std::vector<std::string>{"Pop", "Rock", "pop", "", "zz"}));
  EXPECT_EQ(setup.mode, ReplaceMode::kStyle);
}

TEST_F(BulkReplaceTest, LoadReportsABadLineOfTheTargetList) {
  fx.dir.Write("app/PSR-S970.dat", std::string("Cool Beat;291\r\nbroken\r\nFunk;77\r\n"));
  fx.state.SelectedRecord = 1;
  fx.state.SelectedStyleText = "Cool Beat";
  const StyleReplaceSetup setup = Presented(LoadStyleReplace(fx.state), fx.dialogs);
  EXPECT_FALSE(setup.loaded);
  EXPECT_EQ(setup.styles.size(), 1u);
  // The labels still name the selected row, so nothing else can be taken for it.
  EXPECT_EQ(setup.currentStyle, "Cool Beat");
  EXPECT_EQ(setup.currentGenre, "Pop");
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_NE(fx.dialogs.messages[0].text.find("Function Load StyleReplace."), std::string::npos);
}

TEST_F(BulkReplaceTest, TypedGenresAreAddedOnce) {
  std::vector<std::string> genres = {"Pop"};
  EXPECT_EQ(AddTypedGenre(genres, "Swing"), 1);
  EXPECT_EQ(AddTypedGenre(genres, "Pop"), 0);
  EXPECT_EQ(AddTypedGenre(genres, ""), -1);
  EXPECT_EQ(genres, (std::vector<std::string>{"Pop", "Swing"}));
}

TEST_F(BulkReplaceTest, StyleModeReplacesExactTextsInCellsAndRecords) {
  fx.state.List[1].SetCell(col::kStyle, "cool beat");  // not the same text
  Presented(SubReplaceStyle(fx.state, fx.dialogs,
                            {.mode = ReplaceMode::kStyle,
                             .currentStyle = "Cool Beat",
                             .newStyle = ComboEntry{"Funk", 77}}),
            fx.dialogs);
  EXPECT_EQ(RowOf(1).Cell(col::kStyle), "Funk");
  EXPECT_EQ(RowOf(3).Cell(col::kStyle), "Funk");
  EXPECT_EQ(StyleBytes(1), 77);
  EXPECT_EQ(StyleBytes(3), 77);
  EXPECT_EQ(StyleBytes(2), 12);
  EXPECT_EQ(RowOf(2).Cell(col::kStyle), "cool beat");
  EXPECT_FALSE(fx.state.FileSaved);
  EXPECT_TRUE(PreviewRan());
  ASSERT_FALSE(fx.dialogs.statuses.empty());
  EXPECT_EQ(fx.dialogs.statuses.back(), "Replaced Cool Beat by Funk in 2 records");
}

TEST_F(BulkReplaceTest, NothingMatchingChangesNoRecordButStillPreviews) {
  const auto before = fx.state.FileBytes;
  Presented(SubReplaceStyle(fx.state, fx.dialogs,
                            {.mode = ReplaceMode::kStyle,
                             .currentStyle = "Not There",
                             .newStyle = ComboEntry{"Funk", 77}}),
            fx.dialogs);
  EXPECT_EQ(fx.state.FileBytes, before);
  EXPECT_FALSE(fx.state.FileSaved);
  EXPECT_TRUE(PreviewRan());
}

TEST_F(BulkReplaceTest, GenreModeIsExactAndCutsTheRecordAt16) {
  const std::string longGenre = "Easy Listening Classics";  // 23 characters
  Presented(
      SubReplaceStyle(fx.state, fx.dialogs,
                      {.mode = ReplaceMode::kGenre, .currentGenre = "Pop", .newGenre = longGenre}),
      fx.dialogs);
  EXPECT_EQ(RowOf(1).Cell(col::kGenre), longGenre);
  EXPECT_EQ(RowOf(4).Cell(col::kGenre), longGenre);
  EXPECT_EQ(Genre(1), longGenre.substr(0, 16));
  EXPECT_EQ(Genre(4), longGenre.substr(0, 16));
  EXPECT_EQ(RowOf(2).Cell(col::kGenre), "pop");
  EXPECT_EQ(Genre(2), "pop");
}

TEST_F(BulkReplaceTest, WholeKeywordModeWritesEveryRowAndCutsAt32) {
  const std::string longKeyword = std::string(40, 'k');
  Presented(SubReplaceStyle(fx.state, fx.dialogs,
                            {.mode = ReplaceMode::kKeyword,
                             .currentKeyword = "POP",
                             .newKeyword = longKeyword,
                             .match = KeywordMatch::kWholeKeyword}),
            fx.dialogs);
  EXPECT_EQ(RowOf(1).Cell(col::kKeywords), longKeyword + ",rock");
  EXPECT_EQ(Keywords(1), (longKeyword + ",rock").substr(0, 32));
  EXPECT_EQ(RowOf(2).Cell(col::kKeywords), longKeyword);
  EXPECT_EQ(RowOf(3).Cell(col::kKeywords), longKeyword + ", rock");
  EXPECT_EQ(Keywords(4), (longKeyword + ",top").substr(0, 32));
}

TEST_F(BulkReplaceTest, CurrentStarEmptiesTheKeywordFieldOfEveryRecord) {
  Presented(
      SubReplaceStyle(fx.state, fx.dialogs,
                      {.mode = ReplaceMode::kKeyword, .currentKeyword = "*", .newKeyword = "x"}),
      fx.dialogs);
  for (int record = 1; record <= 4; ++record) {
    EXPECT_EQ(RowOf(record).Cell(col::kKeywords), "");
    const auto field = std::span(fx.state.FileBytes).subspan(R(record) + mfd::kKeywords, 32);
    EXPECT_TRUE(std::all_of(field.begin(), field.end(), [](auto b) { return b == 0; }));
  }
}

TEST_F(BulkReplaceTest, RowsAreFoundByNumberWhateverTheSortOrder) {
  fx.state.List.SetSort(col::kGenre, true);
  Presented(SubReplaceStyle(fx.state, fx.dialogs,
                            {.mode = ReplaceMode::kKeyword,
                             .currentKeyword = "op",
                             .newKeyword = "OP",
                             .match = KeywordMatch::kCharacters}),
            fx.dialogs);
  EXPECT_EQ(Keywords(1), "pOP,rock");
  EXPECT_EQ(Keywords(2), "POP");
  EXPECT_EQ(Keywords(3), "pOP, rock");
  EXPECT_EQ(Keywords(4), "pOP,top");
  for (int record = 1; record <= 4; ++record) {
    EXPECT_EQ(RowOf(record).Cell(col::kKeywords), Keywords(record));
  }
}

TEST_F(BulkReplaceTest, AllEntriesNeedsTheModesNewValue) {
  const auto before = fx.state.FileBytes;
  EXPECT_FALSE(
      Shown(ReplaceInAllRecords(fx.state, fx.dialogs,
                                {.mode = ReplaceMode::kStyle, .currentStyle = "Cool Beat"}),
            fx.dialogs));
  EXPECT_FALSE(Shown(ReplaceInAllRecords(fx.state, fx.dialogs,
                                         {.mode = ReplaceMode::kGenre, .currentGenre = "Pop"}),
                     fx.dialogs));
  EXPECT_EQ(fx.state.FileBytes, before);
  EXPECT_TRUE(fx.state.FileSaved);
  EXPECT_TRUE(Shown(
      ReplaceInAllRecords(
          fx.state, fx.dialogs,
          {.mode = ReplaceMode::kGenre, .currentGenre = "Rock", .newGenre = std::string("Soul")}),
      fx.dialogs));
  EXPECT_EQ(Genre(3), "Soul");
  ASSERT_FALSE(fx.dialogs.statuses.empty());
  EXPECT_EQ(fx.dialogs.statuses.back(), "Replaced Rock by Soul in 1 record");
}

TEST_F(BulkReplaceTest, ARowWithoutItsRecordIsReportedAndEarlierRowsStay) {
  fx.state.List[3].record = 99;
  Presented(
      SubReplaceStyle(fx.state, fx.dialogs,
                      {.mode = ReplaceMode::kGenre, .currentGenre = "Pop", .newGenre = "Soul"}),
      fx.dialogs);
  EXPECT_EQ(Genre(1), "Soul");
  EXPECT_FALSE(fx.state.FileSaved);
  EXPECT_FALSE(PreviewRan());
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_NE(fx.dialogs.messages[0].text.find("Function SubReplaceStyle."), std::string::npos);
}

}  // namespace
}  // namespace cadenzo
