// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/record.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/runtime_error.h"
#include "support/builders.h"

namespace cadenzo {
namespace {

using testing::RecordBuilder;

struct FlagCase {
  std::uint8_t flags;
  const char* fav;
  const char* s1;
  const char* s2;
};

class FlagDecoding : public ::testing::TestWithParam<FlagCase> {};

TEST_P(FlagDecoding, ShowsYesOrNoPerBit) {
  const auto& c = GetParam();
  const auto texts = DecodeFlags(c.flags);
  EXPECT_EQ(texts.fav, c.fav);
  EXPECT_EQ(texts.s1, c.s1);
  EXPECT_EQ(texts.s2, c.s2);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FlagDecoding,
    ::testing::Values(FlagCase{0, "No", "No", "No"}, FlagCase{1, "Yes", "No", "No"},
                      FlagCase{3, "Yes", "Yes", "No"}, FlagCase{6, "No", "Yes", "Yes"},
                      FlagCase{7, "Yes", "Yes", "Yes"}, FlagCase{8, "No", "No", "No"},
                      FlagCase{0xFF, "No", "No", "No"}));

struct SectionCase {
  std::uint8_t byte89;
  const char* intro;
  const char* next;
};

class SectionDecoding : public ::testing::TestWithParam<SectionCase> {};

TEST_P(SectionDecoding, SplitsTheByteIntoIntroAndNext) {
  const auto& c = GetParam();
  auto bytes = RecordBuilder{}.Build();
  bytes[mfd::kSections] = c.byte89;
  EXPECT_EQ(DecodeIntro(bytes, 0), c.intro);
  EXPECT_EQ(DecodeNextSection(bytes, 0), c.next);
}

INSTANTIATE_TEST_SUITE_P(Table, SectionDecoding,
                         ::testing::Values(SectionCase{0x1A, "Intro 1", "Ending 3"},
                                           SectionCase{0x0A, "Off", "Ending 3"},
                                           SectionCase{0xB0, "Off", "Off"},
                                           SectionCase{0x47, "Main A", "Main D"},
                                           SectionCase{0x39, "Intro 3", "Ending 2"},
                                           SectionCase{0xFF, "Off", "Off"}));

struct NumberFieldCase {
  std::uint8_t b0, b1;
  const char* text;
};

class TempoDecoding : public ::testing::TestWithParam<NumberFieldCase> {};

TEST_P(TempoDecoding, ShowsDecimalWithLeadingBlankBelow100) {
  const auto& c = GetParam();
  auto bytes = RecordBuilder{}.Build();
  bytes[mfd::kTempo] = c.b0;
  bytes[mfd::kTempo + 1] = c.b1;
  EXPECT_EQ(DecodeTempo(bytes, 0), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TempoDecoding,
    ::testing::Values(NumberFieldCase{0x00, 0x60, " 96"}, NumberFieldCase{0x00, 0x78, "120"},
                      NumberFieldCase{0x00, 0x64, "100"}, NumberFieldCase{0x00, 0x05, " 5"},
                      NumberFieldCase{0x01, 0x18, "280"}, NumberFieldCase{0x00, 0x00, " 0"},
                      NumberFieldCase{0x00, 0x09, " 9"}, NumberFieldCase{0x00, 0x0A, " 10"},
                      NumberFieldCase{0x00, 0x63, " 99"}, NumberFieldCase{0x03, 0xE8, "1000"},
                      NumberFieldCase{0xFE, 0xFF, "65279"}, NumberFieldCase{0xFF, 0x00, ""},
                      NumberFieldCase{0xFF, 0xFF, ""}));

class TimeSigDecoding : public ::testing::TestWithParam<NumberFieldCase> {};

TEST_P(TimeSigDecoding, JoinsBlankedNumbers) {
  const auto& c = GetParam();
  auto bytes = RecordBuilder{}.Build();
  bytes[mfd::kTimeSigNumerator] = c.b0;
  bytes[mfd::kTimeSigDenominator] = c.b1;
  EXPECT_EQ(DecodeTimeSig(bytes, 0), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimeSigDecoding,
    ::testing::Values(NumberFieldCase{4, 4, " 4/ 4"}, NumberFieldCase{3, 4, " 3/ 4"},
                      NumberFieldCase{6, 8, " 6/ 8"}, NumberFieldCase{12, 8, " 12/ 8"},
                      NumberFieldCase{0, 0, " 0/ 0"}, NumberFieldCase{9, 10, " 9/ 10"},
                      NumberFieldCase{100, 254, " 100/ 254"}, NumberFieldCase{255, 4, ""},
                      NumberFieldCase{255, 255, ""}));

TEST(TextFields, MusicStopsAtTheFirstZeroByte) {
  auto bytes = RecordBuilder{.music = "Hello"}.Build();
  EXPECT_EQ(DecodeMusic(bytes, 0), "Hello");
  bytes[mfd::kMusic] = 0;  // later bytes are not zero
  EXPECT_EQ(DecodeMusic(bytes, 0), "");
}

TEST(TextFields, GenreSkipsInnerZeroBytes) {
  auto bytes = RecordBuilder{.genre = "Pop"}.Build();
  bytes[mfd::kGenre + 4] = 'X';  // "Pop", zero, "X"
  EXPECT_EQ(DecodeGenre(bytes, 0), "PopX");
}

TEST(TextFields, FullLengthFieldsHaveNoTerminator) {
  const std::string music32(32, 'M');
  const std::string keywords32(32, 'k');
  const auto bytes = RecordBuilder{.music = music32, .keywords = keywords32}.Build();
  EXPECT_EQ(DecodeMusic(bytes, 0), music32);
  EXPECT_EQ(DecodeKeywords(bytes, 0), keywords32);
}

TEST(TextFields, HighBytesStayWindows1252) {
  const auto bytes = RecordBuilder{.music = "Caf\xE9 \x80"}.Build();
  EXPECT_EQ(DecodeMusic(bytes, 0), "Caf\xE9 \x80");
}

TEST(NumberText, PadsToFourDigitsAndKeepsLongerNumbers) {
  EXPECT_EQ(NumberText(1), "0001");
  EXPECT_EQ(NumberText(2500), "2500");
  EXPECT_EQ(NumberText(32767), "32767");
  EXPECT_EQ(NumberText(124, 5), "00124");
  EXPECT_EQ(NumberText(0), "0000");
  EXPECT_EQ(NumberText(9, 1), "9");
  EXPECT_EQ(NumberText(10, 0), "10");
  EXPECT_EQ(NumberText(99999, 4), "99999");
  const auto bytes = RecordBuilder{.number = 41}.Build();
  EXPECT_EQ(DecodeNumberText(bytes, 0), "0042");
}

TEST(NumberText, NegativeNumbersKeepTheirSignBeforeThePadding) {
  EXPECT_EQ(NumberText(-7, 3), "-007");
  EXPECT_EQ(NumberText(-12345), "-12345");
  EXPECT_EQ(TempoText(-5), " -5");
}

// The reader fills its rows with DecodeRecordCells: it must agree with the field decoders, also
// over cells that held other texts, and leave the style and filler cells alone.
TEST(DecodeRecordCells, AgreesWithTheFieldDecoders) {
  std::vector<std::vector<std::uint8_t>> records = {
      RecordBuilder{}.Build(),
      RecordBuilder{.number = 41,
                    .numerator = 12,
                    .denominator = 8,
                    .tempo = 96,
                    .flags = 3,
                    .music = std::string(32, 'M'),
                    .genre = std::string(16, 'G'),
                    .keywords = "party,slow",
                    .intro = 10,
                    .next = 7}
          .Build(),
      RecordBuilder{.number = 65535, .numerator = 255, .flags = 8, .music = "", .genre = ""}
          .Build()};
  records.back()[mfd::kTempo] = 0xFF;
  records.back()[mfd::kSections] = 0xB0;
  records.back()[mfd::kGenre + 3] = 'X';  // a genre after a zero byte
  for (const auto& bytes : records) {
    std::array<std::string, col::kCount> cells;
    cells.fill(std::string(40, '#'));
    DecodeRecordCells(bytes, 0, cells);
    const auto cell = [&](int column) { return cells[static_cast<std::size_t>(column)]; };
    const FlagTexts flags = DecodeFlags(bytes[mfd::kFlags]);
    EXPECT_EQ(cell(col::kNumber), DecodeNumberText(bytes, 0));
    EXPECT_EQ(cell(col::kGenre), DecodeGenre(bytes, 0));
    EXPECT_EQ(cell(col::kMusic), DecodeMusic(bytes, 0));
    EXPECT_EQ(cell(col::kTimeSig), DecodeTimeSig(bytes, 0));
    EXPECT_EQ(cell(col::kTempo), DecodeTempo(bytes, 0));
    EXPECT_EQ(cell(col::kKeywords), DecodeKeywords(bytes, 0));
    EXPECT_EQ(cell(col::kFav), flags.fav);
    EXPECT_EQ(cell(col::kS1), flags.s1);
    EXPECT_EQ(cell(col::kS2), flags.s2);
    EXPECT_EQ(cell(col::kIntro), DecodeIntro(bytes, 0));
    EXPECT_EQ(cell(col::kNext), DecodeNextSection(bytes, 0));
    EXPECT_EQ(cell(col::kStyle), std::string(40, '#'));
    EXPECT_EQ(cell(col::kFiller), std::string(40, '#'));
  }
  EXPECT_THROW(DecodeRecordCells(std::vector<std::uint8_t>(91, 0), 0,
                                 *std::make_unique<std::array<std::string, col::kCount>>()),
               RuntimeError);
}

struct EncodeCase {
  std::size_t length;
  std::string text;
  std::string expected;  // the whole field
};

class TextEncoding : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(TextEncoding, CutsAndZeroFills) {
  const auto& c = GetParam();
  std::vector<std::uint8_t> field(c.length + 2, 0xAA);
  EncodeText(field, 1, c.length, c.text);
  EXPECT_EQ(field.front(), 0xAA);
  EXPECT_EQ(field.back(), 0xAA);
  EXPECT_EQ(std::string(field.begin() + 1, field.end() - 1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextEncoding,
    ::testing::Values(EncodeCase{16, "Pop", std::string("Pop") + std::string(13, '\0')},
                      EncodeCase{16, "", std::string(16, '\0')},
                      EncodeCase{16, "ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOP"},
                      EncodeCase{4, "\xE9t\xE9", std::string("\xE9t\xE9") + '\0'}));

TEST(Encoding, RoundTripsEveryField) {
  std::vector<std::uint8_t> bytes(mfd::kRecordSize, 0);
  EncodeText(bytes, mfd::kMusic, mfd::kMusicLength, "My Song");
  EncodeText(bytes, mfd::kGenre, mfd::kGenreLength, "Latin");
  EncodeText(bytes, mfd::kKeywords, mfd::kKeywordsLength, "dance,party");
  EncodeTimeSig(bytes, 0, 6, 8);
  EncodeTempo(bytes, 0, 96);
  EncodeSections(bytes, 0, SectionDigit("Intro 2"), SectionDigit("Ending 1"));
  SetFlag(bytes, 0, mfd::kFavorite, true);
  SetFlag(bytes, 0, mfd::kSearch2, true);
  EXPECT_EQ(DecodeMusic(bytes, 0), "My Song");
  EXPECT_EQ(DecodeGenre(bytes, 0), "Latin");
  EXPECT_EQ(DecodeKeywords(bytes, 0), "dance,party");
  EXPECT_EQ(DecodeTimeSig(bytes, 0), " 6/ 8");
  EXPECT_EQ(DecodeTempo(bytes, 0), " 96");
  EXPECT_EQ(DecodeIntro(bytes, 0), "Intro 2");
  EXPECT_EQ(DecodeNextSection(bytes, 0), "Ending 1");
  EXPECT_EQ(bytes[mfd::kFlags], 5);
  SetFlag(bytes, 0, mfd::kFavorite, false);
  EXPECT_EQ(bytes[mfd::kFlags], 4);
  EncodeNoTempo(bytes, 0);
  EncodeNoTimeSig(bytes, 0);
  EXPECT_EQ(DecodeTempo(bytes, 0), "");
  EXPECT_EQ(DecodeTimeSig(bytes, 0), "");
  EXPECT_EQ(SectionDigit("Off"), 0);
  EXPECT_EQ(SectionDigit("nonsense"), 0);
}

TEST(Bounds, ReadsPastTheEndThrowSubscriptOutOfRange) {
  const std::vector<std::uint8_t> shortRecord(50, 0);
  try {
    DecodeKeywords(shortRecord, 0);
    FAIL() << "expected an error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kSubscriptOutOfRange);
  }
  EXPECT_THROW(DecodeMusic(shortRecord, 30), RuntimeError);
  EXPECT_THROW(DecodeNumberText(shortRecord, static_cast<std::size_t>(-1)), RuntimeError);
}

TEST(RecordStore, AppendRecordGrowsBy92AndSetsTheCount) {
  auto file =
      testing::FileBuilder{.records = {RecordBuilder{}, RecordBuilder{.number = 1}}}.Build();
  const auto before = file.size();
  const auto r = AppendRecord(file);
  EXPECT_EQ(r, mfd::RecordOffset(3));
  EXPECT_EQ(file.size(), before + 92);
  EXPECT_EQ(HeaderCount(file), 3);
  EXPECT_EQ(file[34], 0);
  EXPECT_EQ(file[35], 3);
}

TEST(RecordStore, AppendRecordOnAFileWithABlockStillFitsTheRecord) {
  auto file = testing::FileBuilder{.records = {RecordBuilder{}},
                                   .fileRefs = std::vector<testing::FileRefBuilder>{}}
                  .Build();
  const auto r = AppendRecord(file);
  EXPECT_LE(r + mfd::kRecordSize, file.size());
  EXPECT_EQ(HeaderCount(file), 2);
}

}  // namespace
}  // namespace cadenzo
