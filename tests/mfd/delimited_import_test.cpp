// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/delimited_import.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "mfd/byte_io.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "support/app_fixture.h"
#include "textio/delimited_export.h"

namespace cadenzo {
namespace {

using testing::AppFixture;
using testing::FileBuilder;
using testing::FileRefBuilder;
using testing::RecordBuilder;

// A data line of the delimited layout from its fields (the running number first).
std::string Line(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i > 0 ? "\t" : "") + fields[i];
  return line + "\r\n";
}

std::string DataLine(const std::string& style, const std::string& genre = "Pop",
                     const std::string& music = "Song", const std::string& tempo = "120") {
  return Line(
      {" 1", genre, music, style, " 4/ 4", tempo, "kw", "No", "No", "No", "Intro 1", "Main A"});
}

const std::string kHeader = DelimitedHeaderLine() + "\r\n";
const std::string kLogPath = "ImportLog.txt";

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.WriteStyleList("PSR-S970", {{"Cool 8Beat", "0291"},
                                   {"Pop Rock", "12"},
                                   {"OBrien Blues", "45"},
                                   {"Funk", "77"},
                                   {"jazzswing", "88"},
                                   {"Rock'n'Roll", "61"}});
    fx.state.UnknownStyleColor = kBlue;
    Open(FileBuilder{.records = {RecordBuilder{.number = 0, .style = 291},
                                 RecordBuilder{.number = 1, .style = 12}}});
  }

  void Open(const FileBuilder& file) {
    fx.PutFile("in.mfd", file.Build());
    Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
    ASSERT_TRUE(fx.state.FileLoaded);
    fx.dialogs.messages.clear();
  }

  ImportResult Import(const std::string& text) {
    return Presented(ImportDelimitedText(fx.state, fx.dialogs, text), fx.dialogs);
  }

  std::size_t R(int record) const { return mfd::RecordOffset(static_cast<std::size_t>(record)); }
  int StyleOf(int record) const { return ReadU16(fx.state.FileBytes, R(record) + mfd::kStyle); }
  const Row& Last() const { return fx.state.List[fx.state.List.Size() - 1]; }
  std::string UserFile(const std::string& name) const { return fx.state.UserFolder + name; }

  AppFixture fx;
};

TEST_F(ImportTest, ExportedListImportsAsACopyOfEveryRecord) {
  FileBuilder file;
  file.records = {
      RecordBuilder{.number = 0,
                    .style = 291,
                    .tempo = 96,
                    .flags = 3,
                    .music = "First",
                    .genre = "Ballad",
                    .keywords = "slow,love",
                    .intro = 2,
                    .next = 10},
      RecordBuilder{.number = 1,
                    .style = 12,
                    .numerator = 255,
                    .denominator = 255,
                    .flags = 4,
                    .music = "Second",
                    .genre = "Rock",
                    .intro = 0,
                    .next = 0},
      RecordBuilder{.number = 2,
                    .style = 77,
                    .numerator = 6,
                    .denominator = 8,
                    .tempo = 0xFFFF,
                    .music = "Third"},
      RecordBuilder{.number = 3, .style = mfd::kMediaStyle, .music = "Fourth"},
  };
  file.fileRefs = std::vector<FileRefBuilder>{{.position = 3, .path = "I:\\Songs\\Hit.mid"}};
  Open(file);
  ASSERT_EQ(fx.state.List[3].Cell(col::kStyle), "USB:\\Songs\\Hit.mid");
  const std::vector<std::uint8_t> before = fx.state.FileBytes;
  const int writtenBefore = Presented(RunPreview(fx.state, fx.dialogs), fx.dialogs).written;

  const auto result = Import(DelimitedExportText(fx.state.List) + "\r\n");
  EXPECT_EQ(result.imported, 4);
  EXPECT_FALSE(result.stopped);
  EXPECT_TRUE(fx.dialogs.messages.empty());
  ASSERT_EQ(fx.state.List.Size(), 8u);
  EXPECT_EQ(HeaderRecordCount(fx.state), 8);
  EXPECT_EQ(HeaderCount(fx.state.FileBytes), 8);
  for (int i = 0; i < 4; ++i) {
    const Row& original = fx.state.List[static_cast<std::size_t>(i)];
    const Row& copy = fx.state.List[static_cast<std::size_t>(i + 4)];
    EXPECT_EQ(copy.Cell(col::kNumber), NumberText(i + 5));
    for (int c = col::kGenre; c <= col::kFiller; ++c) EXPECT_EQ(copy.Cell(c), original.Cell(c));
    EXPECT_EQ(copy.styleColor, kBlack);
    // The record is the original's but for its number (and the two bytes nothing reads).
    const auto orig = std::span(before).subspan(R(i + 1), 90);
    const auto made = std::span(fx.state.FileBytes).subspan(R(i + 5), 90);
    EXPECT_EQ(ReadU16(made, 0), i + 4);
    EXPECT_TRUE(std::equal(orig.begin() + 2, orig.end(), made.begin() + 2)) << "record " << i;
  }
  // The pass writes the copies like the originals.
  EXPECT_EQ(Presented(RunPreview(fx.state, fx.dialogs), fx.dialogs).written, 2 * writtenBefore);
}

// Without user styles only the records whose style the source lists (and media references) come
// back; the others are named in the log by their position in the text.
TEST_F(ImportTest, ExportedListWithoutUserStylesCopiesTheListedStylesOnly) {
  FileBuilder file;
  file.records = {RecordBuilder{.number = 0, .style = 291, .music = "Listed"},
                  RecordBuilder{.number = 1, .style = 5000, .music = "Own"},
                  RecordBuilder{.number = 2, .style = mfd::kMediaStyle, .music = "Media"},
                  RecordBuilder{.number = 3, .style = 77, .music = "Funky"}};
  file.fileRefs = std::vector<FileRefBuilder>{{.position = 2, .path = "I:\\Songs\\Hit.mid"}};
  Open(file);
  fx.state.AllowUserStyles = false;
  const auto result = Import(DelimitedExportText(fx.state.List) + "\r\n");
  EXPECT_EQ(result.imported, 3);
  EXPECT_EQ(result.leftOut, 1);
  EXPECT_FALSE(result.stopped);
  ASSERT_EQ(fx.state.List.Size(), 7u);
  const std::vector<std::pair<std::string, int>> copies = {
      {"Listed", 291}, {"Media", mfd::kMediaStyle}, {"Funky", 77}};
  for (std::size_t i = 0; i < copies.size(); ++i) {
    const int record = static_cast<int>(i) + 5;
    EXPECT_EQ(fx.state.List[i + 4].Cell(col::kNumber), NumberText(record));
    EXPECT_EQ(DecodeMusic(fx.state.FileBytes, R(record)), copies[i].first);
    EXPECT_EQ(StyleOf(record), copies[i].second);
  }
  EXPECT_EQ(testing::ReadText(UserFile(kLogPath)),
            "Item #\tGenre\tSong\tStyle\r\n3\tPop\tOwn\t5000\r\n\r\n");
}

struct DecisionCase {
  const char* name;
  std::string style;
  bool allowUserStyles;
  bool imported;
  std::string shown;  // the "Style or File" cell
  int styleNumber;
  bool userStyle;
};
void PrintTo(const DecisionCase& c, std::ostream* os) { *os << c.name; }

class ImportDecisionTest : public ImportTest, public ::testing::WithParamInterface<DecisionCase> {};

TEST_P(ImportDecisionTest, PlacesTheStyleOfTheLine) {
  const DecisionCase& c = GetParam();
  fx.state.AllowUserStyles = c.allowUserStyles;
  fx.state.DefaultStyle = "Pop Rock";
  const std::size_t editorStyles = fx.state.Editor.styles.size();
  const auto result = Import(kHeader + DataLine(c.style));
  EXPECT_EQ(result.imported, c.imported ? 1 : 0);
  EXPECT_EQ(result.leftOut, c.imported ? 0 : 1);
  if (!c.imported) {
    EXPECT_EQ(fx.state.List.Size(), 2u);
    EXPECT_EQ(HeaderCount(fx.state.FileBytes), 2);
    return;
  }
  EXPECT_EQ(Last().Cell(col::kStyle), c.shown);
  EXPECT_EQ(StyleOf(3), c.styleNumber);
  EXPECT_EQ(Last().styleColor, c.userStyle ? kBlue : kBlack);
  EXPECT_EQ(fx.state.Editor.styles.size(), editorStyles + (c.userStyle ? 1u : 0u));
  if (c.userStyle) {
    EXPECT_EQ(fx.state.Editor.styles.back().data, c.styleNumber);
    // The same user style again adds no second entry.
    Import(DataLine(c.style));
    EXPECT_EQ(fx.state.Editor.styles.size(), editorStyles + 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ImportDecisionTest,
    ::testing::Values(
        DecisionCase{"FoundAsWritten", "Cool 8Beat", false, true, "Cool 8Beat", 291, false},
        // A found style shows as the list names it, as the file shows it when opened again.
        DecisionCase{"FoundWithoutBlanksAndCase", "cool8beat", false, true, "Cool 8Beat", 291,
                     false},
        DecisionCase{"ListEntryWrittenWithoutBlanks", "Jazz Swing", false, true, "jazzswing", 88,
                     false},
        DecisionCase{"ApostrophesRemoved", "O'Brien Blues", false, true, "OBrien Blues", 45, false},
        DecisionCase{"ApostrophesOfTheListIgnoredToo", "Rock'n'Roll", false, true, "Rock'n'Roll",
                     61, false},
        DecisionCase{"ApostrophesOnlyInTheList", "RocknRoll", false, true, "Rock'n'Roll", 61,
                     false},
        DecisionCase{"EmptyStyleIsNoStyle", "", false, true, "", 0xFFFF, false},
        DecisionCase{"ZeroIsAStyleNumber", "0", true, true, "0!", 0, true},
        DecisionCase{"LeadingZeros", "0200", true, true, "0200!", 200, true},
        DecisionCase{"HighestStyleNumber", "65279", true, true, "65279!", 65279, true},
        DecisionCase{"NoStyleNumbersLeftOut", "65280", true, false, "", 0, false},
        DecisionCase{"MediaNumberLeftOut", "65533", true, false, "", 0, false},
        DecisionCase{"BeyondSixteenBitsLeftOut", "70000", true, false, "", 0, false},
        DecisionCase{"NegativeLeftOut", "-5", true, false, "", 0, false},
        DecisionCase{"DigitsThenLettersLeftOut", "12abc", true, false, "", 0, false},
        DecisionCase{"MediaPathKeepsItsApostrophes", "USB:Rock'n'Roll.mid", false, true,
                     "USB:Rock'n'Roll.mid", mfd::kMediaStyle, false},
        DecisionCase{"MediaReference", "USB:Songs/Hit.mid", false, true, "USB:Songs/Hit.mid",
                     mfd::kMediaStyle, false},
        DecisionCase{"BareNumberAsUserStyle", "1234", true, true, "1234!", 1234, true},
        DecisionCase{"NamedUserStyleTakesTheDefault", "Mystery", true, true, "Mystery!", 12, true},
        DecisionCase{"LeftOutWithoutUserStyles", "Mystery", false, false, "", 0, false},
        DecisionCase{"NumberLeftOutWithoutUserStyles", "1234", false, false, "", 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Style 0 is a style like any other: a named style without a default style to give it is left
// out, not given style 0.
TEST_F(ImportTest, NoDefaultStyleLeavesANamedStyleOut) {
  fx.state.DefaultStyle = "None";
  const auto result = Import(DataLine("Mystery") + DataLine("0012"));
  EXPECT_EQ(result.imported, 1);
  EXPECT_EQ(result.leftOut, 1);
  EXPECT_EQ(StyleOf(3), 12);
}

TEST_F(ImportTest, HeaderIsRecognisedByItsSecondField) {
  const std::string header2 = Line({"x", " Genre ", "m", "s", "t", "t", "k", "f", "1", "2"});
  const std::string notHeader = Line({"x", "genre", "m", "Funk", "", "", "k", "f", "1", "2"});
  EXPECT_EQ(Import(kHeader + DataLine("Funk")).imported, 1);
  EXPECT_EQ(Import(header2 + DataLine("Funk")).imported, 1);
  EXPECT_EQ(Import(notHeader + DataLine("Funk")).imported, 2);
  EXPECT_EQ(Import(DataLine("Funk") + DataLine("Funk")).imported, 2);
  EXPECT_EQ(fx.state.List.Size(), 2u + 6u);
}

TEST_F(ImportTest, FieldsAreReadByTheirRules) {
  Import(Line({" 7", "  Long Genre Name Here ", " Music ", "Funk", " 3/ 8 ", "abc", "kw", "YES",
               "no", "yes", "Ending 3", "bogus"}));
  const std::size_t r = R(3);
  const auto& bytes = fx.state.FileBytes;
  EXPECT_EQ(DecodeGenre(bytes, r), "Long Genre Name ");  // trimmed, then cut at 16
  EXPECT_EQ(DecodeMusic(bytes, r), "Music");
  EXPECT_EQ(bytes[r + mfd::kTimeSigNumerator], 3);
  EXPECT_EQ(bytes[r + mfd::kTimeSigDenominator], 8);
  EXPECT_EQ(ReadU16(bytes, r + mfd::kTempo), 0);  // no digits
  EXPECT_EQ(bytes[r + mfd::kFlags], 5);
  EXPECT_EQ(bytes[r + mfd::kSections], 0xA0);
  // The list shows the fields as read.
  EXPECT_EQ(Last().Cell(col::kGenre), "  Long Genre Name Here ");
  EXPECT_EQ(Last().Cell(col::kTempo), "abc");
  EXPECT_EQ(Last().Cell(col::kNumber), "0003");
}

TEST_F(ImportTest, TenFieldsHaveNoSections) {
  Import(Line({" 1", "Pop", "Song", "Funk", "", "", "", "No", "No", "No"}));
  const std::size_t r = R(3);
  EXPECT_EQ(fx.state.FileBytes[r + mfd::kSections], 0);
  // Empty time signature and tempo mean none, as the list shows them.
  EXPECT_EQ(DecodeTimeSig(fx.state.FileBytes, r), "");
  EXPECT_EQ(DecodeTempo(fx.state.FileBytes, r), "");
  EXPECT_EQ(Last().Cell(col::kIntro), "");
}

TEST_F(ImportTest, LinesLeftOutAreLoggedAndNamed) {
  fx.state.AllowUserStyles = false;
  const auto result =
      Import(kHeader + DataLine("Funk") + "\r\n" + DataLine("Mystery Beat", "Jazz", "Tune") +
             DataLine("Funk") + DataLine("Other", "G", "M"));
  EXPECT_EQ(result.imported, 2);
  EXPECT_EQ(result.leftOut, 2);
  EXPECT_TRUE(result.logWritten);
  EXPECT_EQ(fx.dialogs.Texts(),
            std::vector<std::string>{
                "Some entries could not be stored because the style indicated does not exist on "
                "the source instrument. See " +
                fx.state.UserFolder + "ImportLog.txt for details"});
  EXPECT_EQ(testing::ReadText(UserFile(kLogPath)),
            "Item #\tGenre\tSong\tStyle\r\n3\tJazz\tTune\tmysterybeat\r\n5\tG\tM\tother\r\n\r\n");
  // The records written are numbered without gaps.
  EXPECT_EQ(Last().Cell(col::kNumber), "0004");
  EXPECT_EQ(HeaderCount(fx.state.FileBytes), 4);
}

TEST_F(ImportTest, NoLineLeftOutLeavesAnEarlierLogAlone) {
  fx.dir.Write("user/ImportLog.txt", std::string("earlier"));
  fx.state.AllowUserStyles = false;
  const auto result = Import(kHeader + DataLine("Funk"));
  EXPECT_FALSE(result.logWritten);
  EXPECT_TRUE(fx.dialogs.messages.empty());
  EXPECT_EQ(testing::ReadText(UserFile(kLogPath)), "earlier");
}

struct StopCase {
  const char* name;
  std::string badLine;  // without its CR LF
  int errorNumber;
};
void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class ImportStopTest : public ImportTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(ImportStopTest, StopsAtTheLineAndKeepsWhatCameBefore) {
  const StopCase& c = GetParam();
  const auto result =
      Import(kHeader + DataLine("Funk") + "\r\n" + c.badLine + "\r\n" + DataLine("Funk"));
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(result.imported, 1);
  EXPECT_EQ(fx.state.List.Size(), 3u);
  EXPECT_EQ(HeaderRecordCount(fx.state), 3);
  EXPECT_EQ(HeaderCount(fx.state.FileBytes), 3);
  const auto texts = fx.dialogs.Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], std::string(kImportLineProblem) + "2\r\n" + c.badLine);
  const std::string number = std::to_string(c.errorNumber);
  EXPECT_NE(texts[1].find("Error #: " + number + ", "), std::string::npos) << texts[1];
  EXPECT_NE(texts[1].find("Function ImportTextDelimitedFile " + number + "."), std::string::npos);
  EXPECT_NE(texts[2].find("Function ImportTextDelimitedFile."), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ImportStopTest,
    ::testing::Values(
        StopCase{"NineFields", "1\tPop\tSong\tFunk\t\t120\tkw\tNo\tNo", err::kSubscriptOutOfRange},
        StopCase{"ElevenFields", "1\tPop\tSong\tFunk\t\t120\tkw\tNo\tNo\tNo\tIntro 1",
                 err::kSubscriptOutOfRange},
        StopCase{"TempoAbove32767", "1\tPop\tSong\tFunk\t\t40000\tkw\tNo\tNo\tNo", err::kOverflow},
        StopCase{"NegativeTempo", "1\tPop\tSong\tFunk\t\t-5\tkw\tNo\tNo\tNo", err::kOverflow},
        StopCase{"NumeratorBeyondAByte", "1\tPop\tSong\tFunk\t300/4\t120\tkw\tNo\tNo\tNo",
                 err::kOverflow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImportTest, TempoOf32767IsStillRead) {
  EXPECT_EQ(Import(DataLine("Funk", "Pop", "Song", "32767")).imported, 1);
  EXPECT_EQ(ReadU16(fx.state.FileBytes, R(3) + mfd::kTempo), 32767);
}

TEST_F(ImportTest, TimeSignatureWithoutSlashIsNamedAndTheLineKept) {
  const std::string bad = Line({" 1", "Pop", "Song", "Funk", "44", "120", "", "No", "No", "No"});
  const auto result = Import(kHeader + bad + DataLine("Funk"));
  EXPECT_EQ(result.imported, 2);
  EXPECT_EQ(fx.dialogs.Texts(), std::vector<std::string>{std::string(kImportLineProblem) + "1\r\n" +
                                                         bad.substr(0, bad.size() - 2)});
  EXPECT_EQ(fx.state.FileBytes[R(3) + mfd::kTimeSigNumerator], 0);
  EXPECT_EQ(fx.state.FileBytes[R(3) + mfd::kTimeSigDenominator], 0);
}

// Every line end reads alike, and the last line needs none.
TEST_F(ImportTest, LinesEndInCrLfLfOrCrAndTheLastNeedsNone) {
  auto withoutEnd = [](std::string line) { return line.substr(0, line.size() - 2); };
  const std::vector<std::string> lines = {withoutEnd(kHeader), withoutEnd(DataLine("Funk")),
                                          withoutEnd(DataLine("Pop Rock"))};
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    for (const bool lastEnded : {true, false}) {
      std::string text;
      for (const std::string& line : lines) text += line + lineEnd;
      if (!lastEnded) text.resize(text.size() - lineEnd.size());
      const std::size_t before = fx.state.List.Size();
      const auto result = Import(text);
      EXPECT_EQ(result.imported, 2) << lineEnd.size() << lastEnded;
      EXPECT_FALSE(result.stopped);
      ASSERT_EQ(fx.state.List.Size(), before + 2);
      EXPECT_EQ(StyleOf(static_cast<int>(before) + 2), 12);
    }
  }
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST_F(ImportTest, HostileFieldsAreSurvived) {
  const std::string huge(1 << 20, 'x');
  std::string nul = DataLine("Funk", std::string("Po\0p", 4), std::string("\0\0", 2));
  const auto result =
      Import(DataLine("Funk", huge, huge) + nul + DataLine(huge) + Line({huge}) + DataLine("Funk"));
  // The huge style is a user style; the one-field line stops the import, cut in its message.
  EXPECT_EQ(result.imported, 3);
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(DecodeGenre(fx.state.FileBytes, R(3)), huge.substr(0, 16));
  EXPECT_EQ(DecodeGenre(fx.state.FileBytes, R(4)), "Pop");
  EXPECT_EQ(fx.state.List[3].Cell(col::kGenre), std::string("Po\0p", 4));
  ASSERT_FALSE(fx.dialogs.messages.empty());
  EXPECT_LT(fx.dialogs.messages[0].text.size(), 400u);
}

TEST_F(ImportTest, StopsAtTheRecordLimitWithAMessage) {
  std::string text = kHeader;
  const std::string line = DataLine("Funk");
  for (int i = 0; i < 100000; ++i) text += line;
  const auto result = Import(text);
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(result.imported, kMaxImportRecords - 2);
  EXPECT_EQ(HeaderCount(fx.state.FileBytes), kMaxImportRecords);
  EXPECT_EQ(HeaderRecordCount(fx.state), kMaxImportRecords);
  EXPECT_EQ(fx.state.List.Size(), static_cast<std::size_t>(kMaxImportRecords));
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_NE(fx.dialogs.messages[0].text.find("cannot hold more than 32767 records"),
            std::string::npos);
  EXPECT_EQ(fx.state.FileBytes.size(), mfd::RecordOffset(kMaxImportRecords + 1));
}

TEST_F(ImportTest, MenuAsksForTheFileAndMarksTheFileChanged) {
  const auto path = fx.dir.Write("texts/list.txt", kHeader).string();
  fx.state.ExportFolder = "/exports/";
  fx.dialogs.QueueFile(path);
  const auto result = Presented(ImportDelimitedFile(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_TRUE(result.read);
  EXPECT_EQ(result.imported, 0);
  EXPECT_FALSE(fx.state.FileSaved);
  EXPECT_EQ(fx.state.ImportFolder, fx.dir.Str() + "texts/");
  ASSERT_EQ(fx.dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(fx.dialogs.fileRequests[0].folder, "/exports/");
  EXPECT_EQ(fx.dialogs.fileRequests[0].filter, kImportFilter);

  // The next dialog starts in the import folder; cancelling it imports nothing.
  fx.dialogs.QueueFile(std::nullopt);
  EXPECT_FALSE(Presented(ChooseAndImportDelimitedFile(fx.state, fx.dialogs), fx.dialogs).read);
  EXPECT_EQ(fx.dialogs.fileRequests[1].folder, fx.dir.Str() + "texts/");
}

TEST_F(ImportTest, NeedsAnOpenFile) {
  AppFixture empty;
  const auto result = Presented(ImportDelimitedFile(empty.state, empty.dialogs), empty.dialogs);
  EXPECT_FALSE(result.read);
  EXPECT_EQ(empty.dialogs.Texts(), std::vector<std::string>{kImportNeedsFile});
  EXPECT_TRUE(empty.state.FileSaved);
}

TEST_F(ImportTest, MissingChosenFileIsReported) {
  fx.dialogs.QueueFile(fx.dir.Str() + "gone.txt");
  EXPECT_FALSE(Presented(ChooseAndImportDelimitedFile(fx.state, fx.dialogs), fx.dialogs).read);
  EXPECT_EQ(fx.dialogs.Texts(), std::vector<std::string>{"This file is Not found."});
}

TEST_F(ImportTest, LoadLogShowsTheLogOrSaysItIsMissing) {
  ImportLogDisplay view = Presented(LoadImportLog(fx.state), fx.dialogs);
  EXPECT_FALSE(view.text.has_value());
  EXPECT_EQ(fx.dialogs.Texts(),
            std::vector<std::string>{"Cannot find the Information File named ImportLog.txt"});
  fx.dir.Write("user/ImportLog.txt", std::string("Item #\r\n"));
  view = Presented(LoadImportLog(fx.state), fx.dialogs);
  EXPECT_EQ(view.text, std::optional<std::string>("Item #\r\n"));
  EXPECT_EQ(view.caption, "Items not included due in last Import operation");
  EXPECT_EQ(view.path, UserFile(kLogPath));
}

}  // namespace
}  // namespace cadenzo
