// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/processing_pass.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string_view>

#include "catalogue/style_list.h"

#include "mfd/byte_io.h"
#include "mfd/file_commands.h"
#include "mfd/image_writer.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "mfd/target_change.h"
#include "support/app_fixture.h"

namespace cadenzo {
namespace {

using testing::AppFixture;
using testing::FileBuilder;
using testing::FileRefBuilder;
using testing::RecordBuilder;

class PassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.WriteStyleList("PSR-S970",
                      {{"Cool Beat", "291"}, {"Pop Rock", "12"}, {"Funk", "77"}, {"Last", "300"}});
    fx.WriteStyleList("TYROS 5", {{"Cool Beat", "0500"}, {"Pop Rock", "13"}, {"Tail", "9"}});
    fx.WriteStyleList("PSR-2000", {{"Pop Rock", "014"}, {"Funk1", "20"}, {"Swing", "30"}});
  }

  void Open(const FileBuilder& file) {
    fx.PutFile("in.mfd", file.Build());
    Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
    ASSERT_TRUE(fx.state.FileLoaded);
  }

  PassResult Preview(const std::string& target) {
    return Presented(SaveMusicFinderx(fx.state, fx.dialogs, target, false, PassMode::kPreview),
                     fx.dialogs);
  }

  std::string Log() const { return testing::ReadText(fx.state.UserFolder + "ExportLog.txt"); }
  int Count() const { return HeaderCount(fx.state.SaveBytes); }
  int StyleOf(int record) const {
    return ReadU16(fx.state.SaveBytes, mfd::RecordOffset(static_cast<std::size_t>(record)) + 2);
  }

  AppFixture fx;
};

TEST_F(PassTest, EverythingFoundPaintsBlackAndLogsOnlyTheHeader) {
  Open(FileBuilder{
      .records = {RecordBuilder{.style = 291}, RecordBuilder{.number = 1, .style = 12}}});
  const auto result = Preview("TYROS 5");
  EXPECT_TRUE(result.completed);
  EXPECT_FALSE(fx.state.ShowConversionNotes);
  for (const auto& row : fx.state.List) EXPECT_EQ(row.styleColor, kBlack);
  EXPECT_EQ(StyleOf(1), 500);
  EXPECT_EQ(StyleOf(2), 13);
  const std::string log = Log();
  EXPECT_EQ(log.rfind("Style conversions to Last   ", 0), 0u) << log;
  EXPECT_EQ(log.substr(log.size() - 4), "\r\n\r\n");
  EXPECT_EQ(log.find("0001"), std::string::npos);
}

TEST_F(PassTest, DefaultStyleReplacesMissingStylesAndIsLogged) {
  Open(FileBuilder{.records = {RecordBuilder{.style = 291, .music = "First Song"},
                               RecordBuilder{.number = 1, .style = 300, .music = "Second\x01Song"},
                               RecordBuilder{.number = 2, .style = 12}}});
  fx.state.AllowUserStyles = false;
  fx.state.DefaultStyle = "pop rock";
  const auto result = Preview("PSR-2000");
  EXPECT_EQ(result.givenDefault, 2);
  EXPECT_EQ(Count(), 3);
  EXPECT_EQ(StyleOf(1), 14);
  EXPECT_EQ(StyleOf(2), 14);
  const std::string log = Log();
  EXPECT_NE(log.find("\r\n\r\n0001  First Song   coolbeat\r\n0002  Second Song   last\r\n"),
            std::string::npos)
      << log;
  EXPECT_TRUE(fx.state.ShowConversionNotes);
  EXPECT_EQ(fx.state.List[0].styleColor, kRed);
  EXPECT_EQ(fx.state.List[2].styleColor, kBlack);
}

TEST_F(PassTest, NoneDropsMissingStylesFromImageAndLog) {
  Open(FileBuilder{
      .records = {RecordBuilder{.style = 291}, RecordBuilder{.number = 1, .style = 12}}});
  fx.state.AllowUserStyles = false;
  fx.state.DefaultStyle = "None";
  const auto result = Preview("PSR-2000");
  EXPECT_EQ(result.dropped, 1);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(StyleOf(1), 14);
  EXPECT_EQ(ReadU16(fx.state.SaveBytes, mfd::RecordOffset(1)), 0);
  EXPECT_EQ(Log().find("0001"), std::string::npos);
}

TEST_F(PassTest, UserStylesKeepTheirOwnNumber) {
  // 4242 names no style on the target: it stays the same user style there.
  Open(FileBuilder{.records = {RecordBuilder{.style = 4242}}});
  Preview("PSR-2000");
  EXPECT_EQ(StyleOf(1), 4242);
  EXPECT_EQ(fx.state.List[0].styleColor, kBlack);
}

TEST_F(PassTest, DigitVariantsResolveOnTheTarget) {
  Open(FileBuilder{.records = {RecordBuilder{.style = 77}}});  // "Funk"
  Preview("PSR-2000");
  EXPECT_EQ(StyleOf(1), 20);  // Funk1
  // A style found under its digit variant counts as found.
  EXPECT_EQ(fx.state.List[0].styleColor, kBlack);
}

TEST_F(PassTest, DeletedRowsAreSkippedAndNumberingHasNoGaps) {
  Open(FileBuilder{.records = {RecordBuilder{.style = 12, .music = "A"},
                               RecordBuilder{.number = 1, .style = 12, .music = "B"},
                               RecordBuilder{.number = 2, .style = 12, .music = "C"}}});
  fx.state.List[1].SetCell(col::kGenre, "deleted");
  fx.state.List[1].deleted = true;
  fx.state.List[1].styleColor = 12345;
  Preview("PSR-S970");
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(ReadU16(fx.state.SaveBytes, mfd::RecordOffset(2)), 1);
  EXPECT_EQ(DecodeMusic(fx.state.SaveBytes, mfd::RecordOffset(2)), "C");
  EXPECT_EQ(fx.state.List[1].styleColor, 12345u);
}

TEST_F(PassTest, CheckedOnlyWithNothingCheckedGivesAnEmptyImageWithAnEmptyBlock) {
  Open(FileBuilder{.records = {RecordBuilder{.style = 12}}});
  Presented(SaveMusicFinderx(fx.state, fx.dialogs, "PSR-S970", true, PassMode::kPreview),
            fx.dialogs);
  EXPECT_EQ(Count(), 0);
  ASSERT_EQ(fx.state.SaveBytes.size(), 36u + 12u);
  EXPECT_EQ(std::string(fx.state.SaveBytes.begin() + 36, fx.state.SaveBytes.begin() + 40), "FPhd");
  EXPECT_EQ(ReadU32(fx.state.SaveBytes, 40), 0u);
}

struct MediaCase {
  const char* target;
  const char* text;
  Colour colour;
  int style;  // written style; -1 = record dropped
  bool chunk;
};

class MediaReferences : public PassTest, public ::testing::WithParamInterface<MediaCase> {};

TEST_P(MediaReferences, FollowTheTarget) {
  const auto& c = GetParam();
  fx.WriteStyleList("PSR-S970", {{"x", "1"}});
  Open(FileBuilder{.records = {RecordBuilder{.style = mfd::kMediaStyle, .tempo = 100}},
                   .fileRefs = std::vector<FileRefBuilder>{{.position = 0, .path = "I:\\a.mid"}}});
  fx.state.List[0].SetCell(col::kStyle, c.text);
  Preview(c.target);
  EXPECT_EQ(fx.state.List[0].styleColor, c.colour);
  if (c.style < 0) {
    EXPECT_EQ(Count(), 0);
    return;
  }
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(StyleOf(1), c.style);
  const bool hasChunk =
      std::search(fx.state.SaveBytes.begin(), fx.state.SaveBytes.end(), std::begin("FPdt"),
                  std::end("FPdt") - 1) != fx.state.SaveBytes.end();
  EXPECT_EQ(hasChunk, c.chunk);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MediaReferences,
    ::testing::Values(
        // The model the file came from keeps every reference it read.
        MediaCase{"PSR-S970", "HD:\\a.mid", kBlack, mfd::kMediaStyle, true},
        MediaCase{"PSR-S970", "PRESET:\\a.sty", kBlack, mfd::kMediaStyle, true},
        MediaCase{"PSR-S970", "User:\\a.mid", kBlack, mfd::kMediaStyle, true},
        MediaCase{"TYROS 5", "HD:\\a.mid", kBlack, mfd::kMediaStyle, true},
        MediaCase{"PSR-S770", "USB:\\a.mid", kBlack, mfd::kMediaStyle, true},
        MediaCase{"PSR-S770", "usb:\\a.mid", kBlack, mfd::kMediaStyle, true},
        MediaCase{"PSR-S770", "Preset:\\a.sty", kBlack, mfd::kMediaStyle, true},
        // Another model that cannot keep the reference: left out, never a path-less media
        // record, even with user styles allowed.
        MediaCase{"PSR-S770", "HD:\\a.mid", kRed, -1, false},
        MediaCase{"PSR-S770", "PRESET:\\a.sty", kRed, -1, false},
        MediaCase{"PSR-2000", "USB:\\a.mid", kRed, -1, false}));

TEST_F(PassTest, MediaSongRecordsLoseTimeSignatureAndTempo) {
  Open(FileBuilder{
      .records = {RecordBuilder{.style = mfd::kMediaStyle, .tempo = 100}},
      .fileRefs = std::vector<FileRefBuilder>{{.position = 0, .path = "I:\\Songs\\Hit.mid"}}});
  Preview("TYROS 5");
  const auto& out = fx.state.SaveBytes;
  const std::size_t r = mfd::RecordOffset(1);
  const std::vector<std::uint8_t> expected = {0xFF, 0xFD, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(std::vector<std::uint8_t>(out.begin() + static_cast<std::ptrdiff_t>(r + 2),
                                      out.begin() + static_cast<std::ptrdiff_t>(r + 8)),
            expected);
  // Chunk: FPdt, k = 20, position 0, type 1, the path, a zero byte; L = 26.
  const std::size_t block = 36 + 92;
  EXPECT_EQ(std::string(out.begin() + block, out.begin() + block + 4), "FPhd");
  EXPECT_EQ(ReadU32(out, block + 4), 26u);
  EXPECT_EQ(std::string(out.begin() + block + 8, out.begin() + block + 12), "FPdt");
  EXPECT_EQ(ReadU16(out, block + 12), 20);
  EXPECT_EQ(ReadU16(out, block + 14), 0);
  EXPECT_EQ(out[block + 16], 1);
  EXPECT_EQ(std::string(out.begin() + block + 17, out.begin() + block + 33), "I:\\Songs\\Hit.mid");
  EXPECT_EQ(out[block + 33], 0);
  EXPECT_EQ(std::string(out.end() - 4, out.end()), "FPed");
  EXPECT_EQ(out.size(), block + 38);
}

TEST_F(PassTest, UnplacedImportedStylesTakeTheUnknownColourEvenOnTheLastRow) {
  Open(FileBuilder{
      .records = {RecordBuilder{.style = 12}, RecordBuilder{.number = 1, .style = 12}}});
  fx.state.List[1].SetCell(col::kStyle, "Mystery!");
  fx.state.UnknownStyleColor = kBlue;
  Preview("PSR-S970");
  EXPECT_EQ(fx.state.List[1].styleColor, kBlue);
  EXPECT_TRUE(fx.state.ShowConversionNotes);
  // The pass leaves the user's selection alone.
  EXPECT_FALSE(fx.state.List[1].selected);
  EXPECT_FALSE(fx.state.List[0].selected);
}

// Every row whose style ends in "!" takes the unknown colour, also rows the walk passes over: a
// deleted row, an unchecked row of a checked-only pass, a row past the header's count; and in a
// list shown in another order. Rows without "!" keep the walk's colour.
struct UnplacedCase {
  const char* name;
  bool checkedOnly;
  bool sortedByMusic;
  friend void PrintTo(const UnplacedCase& c, std::ostream* os) { *os << c.name; }
};

class UnplacedRows : public PassTest, public ::testing::WithParamInterface<UnplacedCase> {};

TEST_P(UnplacedRows, AllTakeTheUnknownColour) {
  Open(FileBuilder{.records = {RecordBuilder{.style = 12, .music = "d"},
                               RecordBuilder{.number = 1, .style = 12, .music = "c"},
                               RecordBuilder{.number = 2, .style = 12, .music = "b"},
                               RecordBuilder{.number = 3, .style = 12, .music = "a"}}});
  // A fifth row the header does not count, as an import that was not saved leaves it.
  Row extra = fx.state.List[3];
  extra.SetCell(col::kNumber, "0005");
  extra.record = 5;
  fx.state.List.Add(extra);
  fx.state.List[0].SetCell(col::kStyle, "One!");
  fx.state.List[1].SetCell(col::kGenre, "deleted");
  fx.state.List[1].deleted = true;
  fx.state.List[1].SetCell(col::kStyle, "Two!");
  fx.state.List[2].checked = true;
  fx.state.List[3].SetCell(col::kStyle, "Three!");
  fx.state.List[4].SetCell(col::kStyle, "Four!");
  if (GetParam().sortedByMusic) {
    fx.state.List.SetSort(col::kMusic, false);
    fx.state.SortColumn = col::kMusic;
  }
  fx.state.UnknownStyleColor = kBlue;
  const auto result = Presented(SaveMusicFinderx(fx.state, fx.dialogs, "PSR-S970",
                                                 GetParam().checkedOnly, PassMode::kPreview),
                                fx.dialogs);
  ASSERT_TRUE(result.completed);
  EXPECT_TRUE(fx.state.ShowConversionNotes);
  for (const auto& row : fx.state.List) {
    const bool unplaced = row.Cell(col::kStyle).back() == '!';
    EXPECT_EQ(row.styleColor, unplaced ? kBlue : kBlack) << row.Cell(col::kNumber);
  }
}

INSTANTIATE_TEST_SUITE_P(PassTest, UnplacedRows,
                         ::testing::Values(UnplacedCase{"AllRows", false, false},
                                           UnplacedCase{"CheckedOnly", true, false},
                                           UnplacedCase{"SortedByMusic", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PassTest, ThePassSortsByNumberAndReturnsToTheSortColumnAscending) {
  Open(FileBuilder{.records = {RecordBuilder{.style = 12, .music = "b"},
                               RecordBuilder{.number = 1, .style = 12, .music = "a"}}});
  fx.state.List.SetSort(col::kMusic, true);
  fx.state.SortColumn = col::kMusic;
  Preview("PSR-S970");
  EXPECT_EQ(DecodeMusic(fx.state.SaveBytes, mfd::RecordOffset(1)), "b");
  EXPECT_FALSE(fx.state.List.SortDescending());
  EXPECT_EQ(fx.state.List[0].Cell(col::kMusic), "a");
}

// Rows of equal Music end in record order, whatever order they were shown in before the pass.
TEST_F(PassTest, RowsOfEqualKeysEndInRecordOrder) {
  Open(FileBuilder{.records = {RecordBuilder{.style = 12, .music = "same"},
                               RecordBuilder{.number = 1, .style = 12, .music = "other"},
                               RecordBuilder{.number = 2, .style = 12, .music = "SAME"}}});
  fx.state.List.SetSort(col::kNumber, true);  // 0003, 0002, 0001
  fx.state.List.SetSort(col::kMusic, false);  // other, then the two "same" in that order
  ASSERT_EQ(fx.state.List[1].Cell(col::kNumber), "0003");
  fx.state.SortColumn = col::kMusic;
  Preview("PSR-S970");
  EXPECT_EQ(fx.state.List[0].Cell(col::kNumber), "0002");
  EXPECT_EQ(fx.state.List[1].Cell(col::kNumber), "0001");
  EXPECT_EQ(fx.state.List[2].Cell(col::kNumber), "0003");
  EXPECT_EQ(DecodeMusic(fx.state.SaveBytes, mfd::RecordOffset(1)), "same");
  EXPECT_EQ(DecodeMusic(fx.state.SaveBytes, mfd::RecordOffset(3)), "SAME");
}

// A pass that stops before its end leaves the rows sorted by Number, as its walk saw them.
TEST_F(PassTest, APassThatStopsLeavesTheRowsInRecordOrder) {
  Open(FileBuilder{.records = {RecordBuilder{.style = 12, .music = "b"},
                               RecordBuilder{.number = 1, .style = 12, .music = "a"}}});
  fx.state.List.SetSort(col::kMusic, false);
  fx.state.SortColumn = col::kMusic;
  ASSERT_EQ(fx.state.List[0].Cell(col::kNumber), "0002");

  // A row whose record is missing stops the pass with an error.
  fx.state.List[1].SetCell(col::kNumber, "0009");
  fx.state.List[1].record = 9;
  fx.dialogs.messages.clear();
  EXPECT_FALSE(Preview("PSR-S970").completed);
  EXPECT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.state.List.SortKey(), col::kNumber);
  EXPECT_EQ(fx.state.List[0].Cell(col::kNumber), "0002");
  EXPECT_EQ(fx.state.List[1].Cell(col::kNumber), "0009");

  // Refusing at the capacity question, with a file over the 1200 records a PSR-S770 holds.
  AppFixture big;
  big.WriteStyleList("PSR-S770", {{"Pop Rock", "12"}});
  FileBuilder file{.model = "PSR-S770"};
  for (int i = 0; i < 1201; ++i) {
    file.records.push_back(RecordBuilder{.number = i, .style = 12, .music = i % 2 ? "a" : "b"});
  }
  big.PutFile("big.mfd", file.Build());
  Presented(OpenMusicFinderFile(big.state, big.dialogs), big.dialogs);
  big.state.List.SetSort(col::kMusic, false);
  big.state.SortColumn = col::kMusic;
  ASSERT_EQ(big.state.List[0].Cell(col::kMusic), "a");
  big.dialogs.QueueAnswer(Answer::kNo);
  const auto result = Presented(
      SaveMusicFinderx(big.state, big.dialogs, "PSR-S770", false, PassMode::kSave), big.dialogs);
  EXPECT_FALSE(result.completed);
  EXPECT_EQ(big.state.List.SortKey(), col::kNumber);
  EXPECT_EQ(big.state.List[0].Cell(col::kNumber), "0001");
  EXPECT_EQ(big.state.List[1].Cell(col::kNumber), "0002");
}

struct SizeCase {
  const char* target;
  std::size_t size;
};

class ImageSizes : public PassTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ImageSizes, MatchTheLayout) {
  Open(FileBuilder{.records = {RecordBuilder{.style = 12}, RecordBuilder{.number = 1, .style = 12},
                               RecordBuilder{.number = 2, .style = 12}}});
  Preview(GetParam().target);
  EXPECT_EQ(fx.state.SaveBytes.size(), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(Table, ImageSizes,
                         ::testing::Values(SizeCase{"PSR-S970", 324}, SizeCase{"PSR-2000", 314}));

TEST_F(PassTest, HeaderCarriesTheTargetGenerationAndName) {
  Open(FileBuilder{.padding = 0x20, .records = {RecordBuilder{.style = 12}}});
  for (const auto& [target, generation] : std::vector<std::pair<std::string, char>>{
           {"PSR-2000", '1'}, {"PSR-SX900", '3'}, {"TYROS 5", '3'}}) {
    Preview(target);
    const auto& out = fx.state.SaveBytes;
    EXPECT_EQ(out[12], generation);
    EXPECT_EQ(std::string(out.begin() + 16,
                          out.begin() + 16 + static_cast<std::ptrdiff_t>(target.size())),
              target);
    for (std::size_t i = 16 + target.size(); i < 24; ++i) EXPECT_EQ(out[i], 0x20) << target;
    EXPECT_EQ(
        std::vector<std::uint8_t>(out.begin(), out.begin() + 12),
        std::vector<std::uint8_t>(fx.state.FileBytes.begin(), fx.state.FileBytes.begin() + 12));
    EXPECT_EQ(out[32], fx.state.FileBytes[32]);
  }
}

TEST_F(PassTest, RoundTripForTheSameModelKeepsEveryRecordByte) {
  FileBuilder file;
  for (int i = 0; i < 20; ++i) {
    file.records.push_back(RecordBuilder{.number = i,
                                         .style = i % 2 ? 12 : 5000 + i,
                                         .flags = static_cast<std::uint8_t>(i % 8),
                                         .music = "Song " + std::to_string(i),
                                         .keywords = "k" + std::to_string(i),
                                         .tail0 = static_cast<std::uint8_t>(i),
                                         .tail1 = 0x5A});
  }
  Open(file);
  Preview("PSR-S970");
  ASSERT_EQ(Count(), 20);
  for (std::size_t i = 1; i <= 20; ++i) {
    const std::size_t r = mfd::RecordOffset(i);
    const std::size_t last =
        i == 20 ? 90 : 92;  // the block takes the last record's final two bytes
    EXPECT_TRUE(std::equal(fx.state.FileBytes.begin() + static_cast<std::ptrdiff_t>(r + 4),
                           fx.state.FileBytes.begin() + static_cast<std::ptrdiff_t>(r + last),
                           fx.state.SaveBytes.begin() + static_cast<std::ptrdiff_t>(r + 4)))
        << i;
  }
}

TEST_F(PassTest, ChangingTheTargetResetsTheDefaultAndRecolours) {
  Open(FileBuilder{.records = {RecordBuilder{.style = 291}}});
  fx.state.DefaultStyle = "None";
  Presented(ChooseTarget(fx.state, fx.dialogs, "PSR-2000"), fx.dialogs);
  EXPECT_EQ(fx.state.DefaultStyle, "Swing");
  EXPECT_EQ(fx.state.List[0].styleColor, kRed);
  EXPECT_EQ(fx.state.Caption,
            "Cadenzo   in.mfd  Source Instrument = PSR-S970   Default Style = Swing");
  Presented(ChooseTarget(fx.state, fx.dialogs, "PSR-S970"), fx.dialogs);
  EXPECT_EQ(fx.state.DefaultStyle, "Last");
  EXPECT_EQ(fx.state.List[0].styleColor, kBlack);
}

// The style a record is written with, and its colour, for every way of finding it. The source
// list is PSR-S970's of the fixture; the target gives 291 and 77 other styles and lists 4242.
struct ResolveCase {
  const char* name;
  int stored;
  bool allowUserStyles;
  const char* defaultStyle;
  int written;  // -1: left out
  Colour colour;
  friend void PrintTo(const ResolveCase& c, std::ostream* os) { *os << c.name; }
};

class StyleResolution : public PassTest, public ::testing::WithParamInterface<ResolveCase> {};

TEST_P(StyleResolution, WritesTheStyleTheListShows) {
  const auto& c = GetParam();
  fx.WriteStyleList("PSR-S770", {{"Other Beat", "291"},
                                 {"Cool Beat", "5"},
                                 {"Pop Rock", "12"},
                                 {"Swing", "77"},
                                 {"Extra", "4242"},
                                 {"Tail", "6"}});
  Open(FileBuilder{.records = {RecordBuilder{.style = c.stored}}});
  fx.state.AllowUserStyles = c.allowUserStyles;
  fx.state.DefaultStyle = c.defaultStyle;
  const auto result = Preview("PSR-S770");
  EXPECT_EQ(fx.state.List[0].styleColor, c.colour);
  EXPECT_EQ(fx.state.ShowConversionNotes, c.colour == kRed);
  if (c.written < 0) {
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(result.dropped, 1);
    return;
  }
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(StyleOf(1), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    PassTest, StyleResolution,
    ::testing::Values(
        // "Cool Beat" is 291 on the source; the target's 291 is another style.
        ResolveCase{"NameBeforeAnotherStylesNumber", 291, true, "Tail", 5, kBlack},
        ResolveCase{"OwnNameKeepsTheNumber", 12, false, "Tail", 12, kBlack},
        // "Funk" is missing; the target's 77 is Swing: not found, whatever the number.
        ResolveCase{"MissingKeepsItsNumberInRed", 77, true, "Tail", 77, kRed},
        ResolveCase{"MissingTakesTheDefault", 77, false, "Tail", 6, kRed},
        ResolveCase{"MissingIsLeftOutWithNone", 77, false, "None", -1, kRed},
        // User styles: the number stays; red when the target gives it one of its styles.
        ResolveCase{"UserStyleTheTargetLacks", 4243, false, "Tail", 4243, kBlack},
        ResolveCase{"UserStyleTheTargetNames", 4242, true, "Tail", 4242, kRed},
        ResolveCase{"UserStyleTheTargetNamesTakesTheDefault", 4242, false, "Tail", 6, kRed}),
    [](const auto& info) { return std::string(info.param.name); });

// Saved for its own model with user styles off and a default style set, no record changes its
// style, also where the list holds a name or a number twice, and no cell is red.
TEST_F(PassTest, SameModelNeverChangesAStyle) {
  fx.WriteStyleList("PSR-S970", {{"Disco", "70"},
                                 {"Disco", "71"},
                                 {"Samba", "80"},
                                 {"Rumba", "80"},
                                 {"Funk2", "90"},
                                 {"Last", "300"}});
  FileBuilder file;
  const int styles[] = {70, 71, 80, 90, 300, 4242, 0xFF00};
  for (int i = 0; i < static_cast<int>(std::size(styles)); ++i) {
    file.records.push_back(RecordBuilder{.number = i, .style = styles[i]});
  }
  Open(file);
  fx.state.AllowUserStyles = false;
  fx.state.DefaultStyle = "Last";
  const auto result = Preview("PSR-S970");
  EXPECT_FALSE(fx.state.ShowConversionNotes);
  EXPECT_EQ(result.givenDefault, 0);
  ASSERT_EQ(Count(), static_cast<int>(std::size(styles)));
  for (int i = 0; i < Count(); ++i) {
    EXPECT_EQ(StyleOf(i + 1), styles[i]) << i;
    EXPECT_EQ(fx.state.List[static_cast<std::size_t>(i)].styleColor, kBlack) << i;
  }
}

// With the shipped lists, the example converted for every model: each black row reads back from
// the saved file with the style name it showed.
TEST(PassOnShippedLists, BlackRowsReadBackWithTheNameTheyShowed) {
  testing::TempDir user;
  const std::string dataDir = CADENZO_DATA_DIR;
  const auto open = [&](AppState& state, const std::vector<std::uint8_t>& bytes) {
    testing::ScriptedDialogs dialogs;
    state.AppPath = dataDir;
    state.UserFolder = user.Str();
    state.FileBytes = bytes;
    state.FileName = "x.mfd";
    Presented(ReadMusicFinderFile(state, dialogs), dialogs);
    EXPECT_TRUE(dialogs.messages.empty());
  };
  std::ifstream in(dataDir + "examples/Example.mfd", std::ios::binary);
  std::vector<std::uint8_t> example{std::istreambuf_iterator<char>(in), {}};
  ASSERT_GT(example.size(), 1000u);
  // Each record's keywords name it, so that a record read back is known by them.
  for (int i = 1; i <= HeaderCount(example); ++i) {
    const std::string tag = "K" + std::to_string(i);
    const std::size_t at = mfd::RecordOffset(static_cast<std::size_t>(i)) + mfd::kKeywords;
    for (std::size_t k = 0; k < mfd::kKeywordsLength; ++k) {
      example[at + k] = static_cast<std::uint8_t>(k < tag.size() ? tag[k] : ' ');
    }
  }
  int compared = 0;
  for (const char* target : {"PSR-2000", "PSR-1000", "TYROS", "TYROS 5", "PSR-S770", "PSR-SX900",
                             "GENOS", "CVP-205", "CVP-206", "PSR-S970"}) {
    testing::ScriptedDialogs dialogs;
    AppState source;
    open(source, example);
    ASSERT_EQ(source.SourceInstrument, "PSR-S970");
    const auto result =
        Presented(SaveMusicFinderx(source, dialogs, target, false, PassMode::kPreview), dialogs);
    ASSERT_TRUE(result.completed) << target;
    AppState back;
    back.SourceInstrument = target;
    back.KeepSourceInstrument = true;
    back.TargetInstrument = target;
    open(back, source.SaveBytes);
    std::map<std::string, const Row*, std::less<>> readBackRows;
    for (const Row& row : back.List) readBackRows[std::string(row.Cell(col::kKeywords))] = &row;
    for (const Row& row : source.List) {
      if (row.styleColor == kRed) continue;  // left out, or written as another style
      const auto found = readBackRows.find(row.Cell(col::kKeywords));
      ASSERT_NE(found, readBackRows.end()) << target << " " << row.Cell(col::kKeywords);
      const std::string shown(row.Cell(col::kStyle));
      const std::string readBack(found->second->Cell(col::kStyle));
      if (IsStyleNumberText(shown)) {
        // A user style: the same number (these models show their high user numbers halved).
        if (!std::string_view(target).starts_with("CVP")) {
          EXPECT_EQ(StyleNumberValue(readBack), StyleNumberValue(shown)) << target << " " << shown;
        }
      } else {
        // The same name, or a digit variant of it ("Disco3" found as "Disco", "Funk" as "Funk1",
        // "Jazz3" as "Jazz1"): the documented steps for names with a trailing digit.
        const std::string a = NormalizeStyleName(readBack);
        const std::string b = NormalizeStyleName(shown);
        const auto withoutDigit = [](std::string s) {
          if (!s.empty() && s.back() >= '0' && s.back() <= '9') s.pop_back();
          return s;
        };
        EXPECT_TRUE(a == b || withoutDigit(a) == withoutDigit(b))
            << target << ": " << shown << " read back as " << readBack;
      }
      ++compared;
    }
  }
  EXPECT_GT(compared, 1000);
}

TEST_F(PassTest, ADefaultStyleTheTargetLacksRefusesTheSaveBeforeAnythingIsWritten) {
  Open(FileBuilder{.records = {RecordBuilder{.style = 291, .music = "Gone"},
                               RecordBuilder{.number = 1, .style = 12}}});
  fx.state.AllowUserStyles = false;
  fx.state.DefaultStyle = "Last";  // on the source's list, not on PSR-2000's

  const auto preview = Preview("PSR-2000");
  EXPECT_EQ(preview.needsMissingDefault, 1);
  EXPECT_EQ(preview.givenDefault, 0);
  EXPECT_EQ(preview.dropped, 1);
  const std::string log = Log();
  EXPECT_NE(log.find("0001  Gone   coolbeat   left out: the default style Last is not on the "
                     "style list of PSR-2000\r\n"),
            std::string::npos)
      << log;

  fx.dialogs.messages.clear();
  const auto save = Presented(
      SaveMusicFinderx(fx.state, fx.dialogs, "PSR-2000", false, PassMode::kSave), fx.dialogs);
  EXPECT_TRUE(save.refusedDefaultStyle);
  EXPECT_FALSE(save.saved);
  EXPECT_FALSE(save.completed);
  EXPECT_TRUE(fx.dialogs.fileRequests.empty());
  EXPECT_EQ(fx.dialogs.Texts(),
            std::vector<std::string>{DefaultStyleMissingMessage("Last", "PSR-2000")});

  // The window's save refuses before its confirmation question.
  fx.state.TargetInstrument = "PSR-2000";
  fx.dialogs.messages.clear();
  const auto convert = Presented(ConvertCommandSave(fx.state, fx.dialogs, false), fx.dialogs);
  EXPECT_TRUE(convert.refusedDefaultStyle);
  EXPECT_EQ(fx.dialogs.Texts(),
            std::vector<std::string>{DefaultStyleMissingMessage("Last", "PSR-2000")});
  EXPECT_TRUE(fx.dialogs.fileRequests.empty());

  // No record needs it: the save goes on.
  fx.state.List[0].deleted = true;
  fx.dialogs.QueueFile(fx.dir.Str() + "out.mfd");
  const auto saved = Presented(
      SaveMusicFinderx(fx.state, fx.dialogs, "PSR-2000", false, PassMode::kSave), fx.dialogs);
  EXPECT_TRUE(saved.saved);
  EXPECT_EQ(saved.written, 1);
}

// A file with a reference on every drive, a plain record between them and a media record
// without one.
FileBuilder MediaFile() {
  return FileBuilder{
      .records = {RecordBuilder{.number = 0, .style = 12, .music = "Plain"},
                  RecordBuilder{.number = 1, .style = mfd::kMediaStyle, .music = "Hd"},
                  RecordBuilder{.number = 2, .style = mfd::kMediaStyle, .music = "Usb"},
                  RecordBuilder{.number = 3, .style = mfd::kMediaStyle, .music = "Nowhere"},
                  RecordBuilder{.number = 4, .style = mfd::kMediaStyle, .music = "Preset"},
                  RecordBuilder{.number = 5, .style = mfd::kMediaStyle, .music = "User"}},
      .fileRefs = std::vector<FileRefBuilder>{{.position = 1, .path = "E:\\Music\\a.mid"},
                                              {.position = 2, .path = "I:\\Songs\\b.mid"},
                                              {.position = 4, .type = 0, .path = "D:\\c.sty"},
                                              {.position = 5, .type = 2, .path = "C:\\d.wav"}}};
}

// Every written media record has its path, and every path its media record.
void ExpectNoDanglingMedia(const std::vector<std::uint8_t>& bytes) {
  const int count = HeaderCount(bytes);
  const auto refs = ReadFileReferenceBlock(bytes, count);
  std::vector<int> mediaRecords;
  for (int i = 0; i < count; ++i) {
    if (ReadU16(bytes, mfd::RecordOffset(static_cast<std::size_t>(i + 1)) + 2) ==
        mfd::kMediaStyle) {
      mediaRecords.push_back(i);
    }
  }
  std::vector<int> referenced;
  for (const auto& ref : refs) referenced.push_back(ref.position);
  EXPECT_EQ(referenced, mediaRecords);
}

TEST_F(PassTest, SavedForItsOwnModelKeepsEveryMediaReferenceInFileOrder) {
  Open(MediaFile());
  fx.state.AllowUserStyles = false;
  fx.state.DefaultStyle = "Pop Rock";
  const auto result = Preview("PSR-S970");
  EXPECT_EQ(result.written, 6);
  EXPECT_EQ(result.givenDefault, 0);
  EXPECT_FALSE(fx.state.ShowConversionNotes);
  const auto refs = ReadFileReferenceBlock(fx.state.SaveBytes, Count());
  ASSERT_EQ(refs.size(), 4u);
  const std::pair<int, std::string> expected[] = {
      {1, "E:\\Music\\a.mid"}, {2, "I:\\Songs\\b.mid"}, {4, "D:\\c.sty"}, {5, "C:\\d.wav"}};
  for (std::size_t i = 0; i < refs.size(); ++i) {
    EXPECT_EQ(refs[i].position, expected[i].first);
    EXPECT_EQ(refs[i].path, expected[i].second);
  }
  // The record without a path stays as it was read.
  EXPECT_EQ(StyleOf(4), mfd::kMediaStyle);
  EXPECT_EQ(StyleOf(1), 12);
}

struct OtherModelMediaCase {
  const char* name;
  bool allowUserStyles;
  const char* defaultStyle;
  int written;
  int givenDefault;
  std::vector<int> keptPositions;  // of the references, in the saved file
  friend void PrintTo(const OtherModelMediaCase& c, std::ostream* os) { *os << c.name; }
};

class OtherModelMedia : public PassTest,
                        public ::testing::WithParamInterface<OtherModelMediaCase> {};

TEST_P(OtherModelMedia, NeverLeavesAMediaRecordWithoutItsPath) {
  const auto& c = GetParam();
  fx.WriteStyleList("PSR-S770", {{"Pop Rock", "12"}, {"Tail", "6"}});
  Open(MediaFile());
  fx.state.AllowUserStyles = c.allowUserStyles;
  fx.state.DefaultStyle = c.defaultStyle;
  const auto result = Preview("PSR-S770");
  EXPECT_EQ(result.written, c.written);
  EXPECT_EQ(result.givenDefault, c.givenDefault);
  EXPECT_EQ(result.recordsRead, result.written + result.dropped);
  ExpectNoDanglingMedia(fx.state.SaveBytes);
  std::vector<int> kept;
  for (const auto& ref : ReadFileReferenceBlock(fx.state.SaveBytes, Count())) {
    kept.push_back(ref.position);
  }
  EXPECT_EQ(kept, c.keptPositions);
  // The HD:, User: and path-less records are red, and each has a log line.
  int red = 0;
  for (const auto& row : fx.state.List) red += row.styleColor == kRed ? 1 : 0;
  EXPECT_EQ(red, 3);
  const std::string log = Log();
  for (const char* song : {"0001  Hd   ", "0002  Nowhere   ", "0003  User   "}) {
    EXPECT_NE(log.find(song), std::string::npos) << song << "\n" << log;
  }
}

INSTANTIATE_TEST_SUITE_P(PassTest, OtherModelMedia,
                         ::testing::Values(
                             // Left out: a media file cannot be kept as a user style.
                             OtherModelMediaCase{"UserStylesAllowed", true, "Tail", 3, 0, {1, 2}},
                             OtherModelMediaCase{"NoneLeavesThemOut", false, "None", 3, 0, {1, 2}},
                             // The default style, as any style the target lacks.
                             OtherModelMediaCase{"DefaultStyle", false, "Tail", 6, 3, {2, 4}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace cadenzo
