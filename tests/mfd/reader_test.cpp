// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/reader.h"

#include <gtest/gtest.h>

#include <map>

#include "app/command_availability.h"
#include "mfd/record.h"
#include "support/app_fixture.h"

namespace cadenzo {
namespace {

using testing::AppFixture;
using testing::FileBuilder;
using testing::FileRefBuilder;
using testing::RecordBuilder;

class ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.WriteStyleList("PSR-S970", {{"Cool Beat", "0291"}, {"Pop Rock", "12"}, {"Last One", "300"}});
    fx.WriteStyleList("PSR-2000", {{"Old Swing", "045"}, {"  Jazz Club ", "46"}});
    fx.WriteStyleList("CVP-205", {{"Waltz", "10"}});
    fx.WriteStyleList("TYROS", {{"Big Band", "100"}});
  }

  void Open(const FileBuilder& file) {
    fx.PutFile("test.mfd", file.Build());
    Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  }

  std::string Style(std::size_t row) const {
    return std::string(fx.state.List[row].Cell(col::kStyle));
  }

  AppFixture fx;
};

struct StyleCase {
  const char* model;
  int style;
  const char* text;
  bool userStyle;
};

class StyleTextRules : public ReaderTest, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(StyleTextRules, FollowTheSourceInstrument) {
  const auto& c = GetParam();
  Open(FileBuilder{.model = c.model, .records = {RecordBuilder{.style = c.style}}});
  ASSERT_EQ(fx.state.List.Size(), 1u);
  EXPECT_EQ(Style(0), c.text);
  // The editor's styles are the target's list (here the source's), plus the user styles found.
  const std::map<std::string, std::size_t> listSizes = {
      {"PSR-S970", 3}, {"PSR-2000", 2}, {"CVP-205", 1}, {"CVP-206", 0}, {"TYROS", 1}};
  const auto it = listSizes.find(c.model);
  const std::size_t listSize = it == listSizes.end() ? 0 : it->second;
  ASSERT_EQ(fx.state.Editor.styles.size(), listSize + (c.userStyle ? 1 : 0));
  if (c.userStyle) {
    EXPECT_EQ(fx.state.Editor.styles.back().text, c.text);
    EXPECT_EQ(fx.state.Editor.styles.back().data, std::stoi(c.text));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StyleTextRules,
    ::testing::Values(
        StyleCase{"PSR-S970", 291, "Cool Beat", false}, StyleCase{"PSR-S970", 5000, "5000", true},
        StyleCase{"PSR-S970", 0xFF01, "", false}, StyleCase{"PSR-2000", 45, "Old Swing", false},
        StyleCase{"PSR-2000", 46, "  Jazz Club ", false}, StyleCase{"PSR-2000", 7, "007", true},
        StyleCase{"TYROS", 100, "Big Band", false}, StyleCase{"TYROS", 600, "600", true},
        StyleCase{"CVP-205", 700, "0350", false}, StyleCase{"CVP-205", 623, "0312", false},
        StyleCase{"CVP-205", 622, "622", true}, StyleCase{"CVP-206", 688, "688", true},
        StyleCase{"CVP-206", 689, "0345", false}, StyleCase{"UNKNOWN1", 0, "0000", true},
        StyleCase{"UNKNOWN2", 91, "0046", false}));

TEST_F(ReaderTest, StyleNumbersOptionShowsFourDigitsForEveryModel) {
  fx.state.AutoDetect = false;  // "Use Style Numbers"
  fx.state.SourceInstrument = "PSR-S970";
  Open(FileBuilder{.records = {RecordBuilder{.style = 291}}});
  EXPECT_EQ(Style(0), "0291");
  EXPECT_TRUE(fx.state.Editor.styles.empty() || fx.state.Editor.styles.back().text != "0291");
}

TEST_F(ReaderTest, DecodesEveryColumnAndSetsTheCaption) {
  Open(FileBuilder{.records = {RecordBuilder{.number = 0,
                                             .style = 12,
                                             .numerator = 3,
                                             .denominator = 4,
                                             .tempo = 96,
                                             .flags = 5,
                                             .music = "Moon",
                                             .genre = "Ballad",
                                             .keywords = "slow,night",
                                             .intro = 2,
                                             .next = 10}}});
  const Row& row = fx.state.List[0];
  const std::vector<std::string> expected = {"0001",    "Ballad",     "Moon", "Pop Rock", " 3/ 4",
                                             " 96",     "slow,night", "Yes",  "No",       "Yes",
                                             "Intro 2", "Ending 3",   "    "};
  for (int c = 0; c < col::kCount; ++c)
    EXPECT_EQ(row.Cell(c), expected[static_cast<std::size_t>(c)]) << c;
  EXPECT_EQ(fx.state.SourceInstrument, "PSR-S970");
  EXPECT_EQ(fx.state.TargetInstrument, "PSR-S970");
  EXPECT_EQ(fx.state.DefaultStyle, "Last One");
  EXPECT_EQ(fx.state.Caption,
            "Cadenzo   test.mfd  Source Instrument = PSR-S970   Default Style = Last One");
  EXPECT_TRUE(fx.state.FileLoaded);
  EXPECT_TRUE(fx.state.FileSaved);
  EXPECT_FALSE(CommandAvailability(fx.state).cmdDeleteChecked);
  EXPECT_FALSE(CommandAvailability(fx.state).cmdModify);
  EXPECT_FALSE(CommandAvailability(fx.state).cmdPlayList);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST_F(ReaderTest, FileReferencesAttachToTheirRows) {
  FileBuilder file;
  for (int i = 0; i < 6; ++i) file.records.push_back(RecordBuilder{.number = i, .style = 12});
  file.records[4].style = mfd::kMediaStyle;
  file.records[5].style = mfd::kMediaStyle;
  file.fileRefs = std::vector<FileRefBuilder>{{.position = 4, .path = "I:\\Songs\\Hit.mid"},
                                              {.position = 5, .path = "F:\\x.wav"}};
  Open(file);
  ASSERT_EQ(fx.state.List.Size(), 6u);
  EXPECT_EQ(Style(4), "USB:\\Songs\\Hit.mid");
  EXPECT_EQ(Style(5), "F:\\x.wav");
  EXPECT_EQ(Style(3), "Pop Rock");
}

struct DriveCase {
  const char* path;
  const char* shown;
};

class Drives : public ReaderTest, public ::testing::WithParamInterface<DriveCase> {};

TEST_P(Drives, ShowTheirPrefixes) {
  FileBuilder file{.records = {RecordBuilder{.style = mfd::kMediaStyle}}};
  file.fileRefs = std::vector<FileRefBuilder>{{.position = 0, .path = GetParam().path}};
  Open(file);
  EXPECT_EQ(Style(0), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Table, Drives,
                         ::testing::Values(DriveCase{"E:\\a.mid", "HD:\\a.mid"},
                                           DriveCase{"i:\\b.mp3", "USB:\\b.mp3"},
                                           DriveCase{"D:\\c.sty", "Preset:\\c.sty"},
                                           DriveCase{"C:\\d.wav", "User:\\d.wav"},
                                           DriveCase{"F:\\e.mid", "F:\\e.mid"}));

TEST_F(ReaderTest, WithoutABlockMediaRecordsShowAnEmptyStyle) {
  Open(FileBuilder{.records = {RecordBuilder{.style = mfd::kMediaStyle}}});
  EXPECT_EQ(Style(0), "");
}

TEST_F(ReaderTest, ChunksThatLieAboutTheirSizeNeverReadPastTheEnd) {
  FileBuilder file{.records = {RecordBuilder{.style = 12}, RecordBuilder{.number = 1}}};
  file.fileRefs = std::vector<FileRefBuilder>{{.position = 1, .path = "I:\\x.mid"},
                                              {.position = 40, .path = "I:\\nowhere.mid"}};
  auto bytes = file.Build();
  // Make the first chunk's k point far past the end and drop the path's zero and the end mark.
  const auto fpdt =
      std::search(bytes.begin(), bytes.end(), std::begin("FPdt"), std::end("FPdt") - 1);
  ASSERT_NE(fpdt, bytes.end());
  fpdt[4] = 0xFF;
  fpdt[5] = 0xF0;
  bytes.resize(bytes.size() - 6);
  fx.PutFile("lying.mfd", bytes);
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_EQ(fx.state.List.Size(), 2u);
  EXPECT_EQ(Style(1), "USB:\\x.mid");
  EXPECT_TRUE(fx.state.FileLoaded);
}

TEST_F(ReaderTest, CountZeroGivesAnEmptyListAndStillRunsThePreview) {
  Open(FileBuilder{});
  EXPECT_EQ(fx.state.List.Size(), 0u);
  EXPECT_TRUE(fx.state.FileLoaded);
  EXPECT_NE(fx.state.Caption.find("Source Instrument = PSR-S970"), std::string::npos);
  EXPECT_FALSE(testing::ReadText(fx.state.UserFolder + "ExportLog.txt").empty());
}

TEST_F(ReaderTest, TruncatedFileKeepsTheRowsReadAndSaysWhereItIsCut) {
  FileBuilder file{
      .records = {RecordBuilder{}, RecordBuilder{.number = 1}, RecordBuilder{.number = 2}}};
  auto bytes = file.Build();
  bytes.resize(bytes.size() - 10);
  fx.PutFile("short.mfd", bytes);
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_EQ(fx.state.List.Size(), 2u);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text,
            "short.mfd is damaged: record 3 of 3 is cut off at byte 304. The 2 records before it "
            "are shown; saving writes only those.");
  EXPECT_FALSE(fx.state.FileLoaded);
}

// The first open selects the source model as the target, which reads its list once: a bad line
// in it is reported once, and the styles before it stay in the editor's list.
TEST_F(ReaderTest, FirstOpenReportsABadTargetListOnce) {
  fx.dir.Write("app/PSR-S970.dat", std::string("Cool Beat;0291\r\nno semicolon\r\nLast;300\r\n"));
  Open(FileBuilder{.records = {RecordBuilder{.style = 291}}});
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_NE(fx.dialogs.messages[0].text.find("setupCboStyle  Cool Beat  0291"), std::string::npos)
      << fx.dialogs.messages[0].text;
  ASSERT_EQ(fx.state.Editor.styles.size(), 1u);
  EXPECT_EQ(fx.state.Editor.styles[0].text, "Cool Beat");
  EXPECT_EQ(Style(0), "Cool Beat");
}

struct HostileCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
};

TEST_F(ReaderTest, HostileFilesNeverCrash) {
  std::vector<HostileCase> cases = {
      {"one byte", {0x42}},
      {"header only", FileBuilder{}.Build()},
      {"count without data", FileBuilder{.countOverride = 32767}.Build()},
      {"count 65535", FileBuilder{.records = {RecordBuilder{}}, .countOverride = 65535}.Build()},
      {"header start", std::vector<std::uint8_t>(20, 0xFF)},
      {"FPhd past the end",
       [] {
         auto b = FileBuilder{.records = {RecordBuilder{}}}.Build();
         for (char c : std::string("FPhd\xFF\xFF\xFF\xFF"))
           b.push_back(static_cast<std::uint8_t>(c));
         return b;
       }()},
  };
  for (const auto& c : cases) {
    AppFixture local;
    local.PutFile("h.mfd", c.bytes);
    EXPECT_NO_THROW(Presented(OpenMusicFinderFile(local.state, local.dialogs), local.dialogs))
        << c.name;
    EXPECT_LE(local.dialogs.messages.size(), 2u) << c.name;
  }
}

TEST_F(ReaderTest, GenreListKeepsCaseVariantsAndSortsByCharacterCodes) {
  Open(FileBuilder{.records = {RecordBuilder{.genre = "Pop"},
                               RecordBuilder{.number = 1, .genre = "POP"},
                               RecordBuilder{.number = 2, .genre = ""},
                               RecordBuilder{.number = 3, .genre = "Pop"},
                               RecordBuilder{.number = 4, .genre = "ballad"}}});
  EXPECT_EQ(fx.state.Editor.genres, (std::vector<std::string>{"POP", "Pop", "ballad"}));
  EXPECT_EQ(fx.state.GenreList[0], "Pop");
  EXPECT_EQ(fx.state.GenreList[1], "POP");
  EXPECT_EQ(fx.state.GenreList[2], "ballad");
  EXPECT_EQ(fx.state.GenreList.size(), 31u);
}

TEST_F(ReaderTest, GenreListGrowsByThirty) {
  FileBuilder file;
  for (int i = 0; i < 30; ++i)
    file.records.push_back(RecordBuilder{.number = i, .genre = "G" + std::to_string(i)});
  Open(file);
  EXPECT_EQ(fx.state.GenreList.size(), 61u);
  EXPECT_EQ(fx.state.Editor.genres.size(), 30u);
}

struct OpenFailure {
  const char* name;
  bool create;
  std::vector<std::uint8_t> bytes;
  const char* message;
};

TEST_F(ReaderTest, FailedOpensKeepThePreviousFile) {
  Open(FileBuilder{.records = {RecordBuilder{}}});
  const auto before = fx.state.FileBytes;
  const std::vector<OpenFailure> cases = {
      {"missing", false, {}, "Could not find that file "},
      {"empty",
       true,
       {},
       "empty.mfd is not a Music Finder file: it is empty. Open the .mfd file that the "
       "instrument saved."},
  };
  for (const auto& c : cases) {
    fx.dialogs.messages.clear();
    fx.state.CurrentFilePath = fx.dir.Str() + "files/" + c.name + ".mfd";
    if (c.create) fx.dir.Write(std::string("files/") + c.name + ".mfd", c.bytes);
    Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
    ASSERT_EQ(fx.dialogs.messages.size(), 1u) << c.name;
    EXPECT_EQ(fx.dialogs.messages[0].text, c.message);
    EXPECT_EQ(fx.state.FileBytes, before);
    EXPECT_EQ(fx.state.List.Size(), 1u);
    EXPECT_EQ(fx.state.SelectedStyleText, "-1");
    EXPECT_FALSE(CommandAvailability(fx.state).cmdModify);
  }
}

TEST_F(ReaderTest, NetCommonAsksForATargetOnce) {
  fx.WriteStyleList("NetCommon", {{"Any", "1"}});
  Open(FileBuilder{.model = "NetCommon", .records = {RecordBuilder{}}});
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text,
            "Please select your Target Instrument if not already done.");
  EXPECT_TRUE(fx.state.FocusTargetRequested);
}

TEST_F(ReaderTest, LaterFilesChangeTheSourceButNotTheTarget) {
  Open(FileBuilder{.records = {RecordBuilder{}}});
  Open(FileBuilder{.model = "PSR-2000", .records = {RecordBuilder{}}});
  EXPECT_EQ(fx.state.SourceInstrument, "PSR-2000");
  EXPECT_EQ(fx.state.TargetInstrument, "PSR-S970");
  Open(FileBuilder{.model = "nothing", .records = {RecordBuilder{}}});
  EXPECT_EQ(fx.state.SourceInstrument, "PSR-2000");
}

}  // namespace
}  // namespace cadenzo
