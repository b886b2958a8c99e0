// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/record_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/command_availability.h"
#include "catalogue/instrument_table.h"
#include "editing/editor_fixture.h"
#include "mfd/byte_io.h"
#include "support/shown.h"

namespace cadenzo {
namespace {

using testing::EditorTest;
using testing::FileBuilder;
using testing::RecordBuilder;

// The tempo box accepts 32 to 280 by the leading number of its text.
struct TempoCase {
  const char* text;
  bool accepted;
};

class TempoValidation : public EditorTest, public ::testing::WithParamInterface<TempoCase> {};

TEST_P(TempoValidation, AcceptsOnlyThirtyTwoToTwoHundredEighty) {
  fx.state.Editor.txtTempo = GetParam().text;
  EXPECT_EQ(Shown(CheckTempoInput(fx.state), fx.dialogs), GetParam().accepted);
  if (GetParam().accepted) {
    EXPECT_TRUE(fx.dialogs.messages.empty());
  } else {
    EXPECT_EQ(fx.dialogs.Texts(), std::vector<std::string>{"Tempo must be between 32 and 280"});
  }
}

INSTANTIATE_TEST_SUITE_P(Bounds, TempoValidation,
                         ::testing::Values(TempoCase{"31", false}, TempoCase{"32", true},
                                           TempoCase{"280", true}, TempoCase{"281", false},
                                           TempoCase{"31.9", false}, TempoCase{"280.4", false},
                                           TempoCase{"", false}, TempoCase{"fast", false},
                                           TempoCase{"-120", false}, TempoCase{" 90", true},
                                           TempoCase{"120 bpm", true}, TempoCase{"1 2 0", true},
                                           TempoCase{"1e2", true}, TempoCase{"1e999", false}));

TEST(LeadingNumberValue, ReadsTheLeadingNumberOnly) {
  const std::vector<std::pair<const char*, double>> cases = {
      {"12.5", 12.5}, {"  7x", 7},    {"-3", -3},    {"+4", 4},    {"x5", 0},   {"", 0},
      {".", 0},       {".5", 0.5},    {"1e3", 1000}, {"2D2", 200}, {"1e", 1},   {"3e+", 3},
      {"1,5", 1},     {"\t9\n0", 90}, {"1e-999", 0}, {"-", 0},     {"0012", 12}};
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(LeadingNumberValue(text), value) << text;
}

TEST_F(EditorTest, TypedGenreBecomesTheLastEntryOnLeavingTheBox) {
  Open();
  EditorLists& ed = fx.state.Editor;
  const std::vector<std::string> before = ed.genres;
  ed.cboGenre = "Zydeco";
  EXPECT_FALSE(GenreSelected(ed));
  AcceptTypedGenre(ed);
  ASSERT_EQ(ed.genres.size(), before.size() + 1);
  EXPECT_EQ(ed.genres.back(), "Zydeco");
  EXPECT_TRUE(GenreSelected(ed));

  // A text equal to an entry is that entry; an empty box and other cases add nothing.
  for (const char* text : {"Rock", "", "Zydeco"}) {
    ed.cboGenre = text;
    AcceptTypedGenre(ed);
    EXPECT_EQ(GenreSelected(ed), *text != 0) << text;
  }
  EXPECT_EQ(ed.genres.size(), before.size() + 1);
  // The comparison is exact: another case is another genre.
  ed.cboGenre = "rock";
  AcceptTypedGenre(ed);
  EXPECT_EQ(ed.genres.back(), "rock");
}

TEST_F(EditorTest, StyleClickAndValidationClearTheMediaFile) {
  Open();
  EditorLists& ed = fx.state.Editor;
  ed.lblSelectedFile = "USB:/a.mid";
  fx.state.EditStyleOrFile = "USB:/a.mid";
  EnableTimingControls(ed, false);

  // Leaving the box with no style chosen enables the controls and keeps the file.
  ed.cboStyle = -1;
  Shown(LeaveStyleChoice(fx.state), fx.dialogs);
  for (std::size_t i = 0; i < kTimingControls.size(); ++i) {
    EXPECT_TRUE(TimingControlEnabled(CommandAvailability(fx.state), i)) << kTimingControls[i];
  }
  EXPECT_EQ(ed.lblSelectedFile, "USB:/a.mid");

  ChoosePresetStyle(fx.state, StyleIndex("Funk"));
  EXPECT_EQ(ed.cboStyle, StyleIndex("Funk"));
  EXPECT_TRUE(ed.lblSelectedFile.empty());
  EXPECT_TRUE(fx.state.EditStyleOrFile.empty());

  ed.lblSelectedFile = "USB:/b.sty";
  Shown(LeaveStyleChoice(fx.state), fx.dialogs);
  EXPECT_TRUE(ed.lblSelectedFile.empty());
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST_F(EditorTest, ClearEmptiesTheInputsButKeepsTheMediaFile) {
  Open();
  Click(2);
  ChoosePresetStyle(fx.state, 0);
  fx.state.Editor.lblSelectedFile = "USB:/x.mid";
  fx.state.EditStyleOrFile = "USB:/x.mid";
  fx.state.Editor.chkSearch2 = true;
  ClearEditorInputs(fx.state);
  const EditorLists& ed = fx.state.Editor;
  EXPECT_EQ(ed.cboGenre, "");
  EXPECT_EQ(ed.txtMusic, "");
  EXPECT_EQ(ed.txtTempo, "");
  EXPECT_EQ(ed.txtKeywords, "");
  EXPECT_EQ(ed.cboStyle, -1);
  EXPECT_EQ(ed.cboIntro, -1);
  EXPECT_EQ(ed.cboSection, -1);
  EXPECT_EQ(CheckedTimeSig(ed), nullptr);
  EXPECT_EQ(fx.state.EditTimeSig, "");
  EXPECT_FALSE(ed.chkFavorite || ed.chkSearch1 || ed.chkSearch2);
  EXPECT_EQ(ed.lblSelectedFile, "USB:/x.mid");
  EXPECT_EQ(fx.state.EditStyleOrFile, "USB:/x.mid");
}

TEST(MediaControls, FollowTheTargetInstrument) {
  const std::set<std::string> usbModels = {"PSR-S710",  "PSR-S750",  "PSR-S770", "PSR-S910",
                                           "PSR-S950",  "PSR-S970",  "PSR-S975", "PSR-SX600",
                                           "PSR-SX700", "PSR-SX900", "GENOS",    "CVP-505",
                                           "CVP-605",   "CVP-609",   "TYROS 4",  "TYROS 5"};
  std::size_t shown = 0;
  for (const auto& instrument : InstrumentTable()) {
    const std::string name(instrument.name);
    const MediaControls c = MediaControlsFor(name);
    const bool usb = usbModels.contains(name);
    EXPECT_EQ(c.cmdBrowse, usb) << name;
    EXPECT_EQ(c.labels, usb) << name;
    EXPECT_EQ(c.cmdBrowse2, name == "TYROS 4" || name == "TYROS 5") << name;
    shown += c.cmdBrowse ? 1 : 0;
  }
  EXPECT_EQ(shown, usbModels.size());
  // The comparison is exact.
  EXPECT_FALSE(MediaControlsFor("tyros 5").cmdBrowse2);
  EXPECT_FALSE(MediaControlsFor("").cmdBrowse);
}

TEST(FileKinds, ExtensionsCompareInLowerCase) {
  EXPECT_TRUE(IsPlayOnly("USB:/a.MP3"));
  EXPECT_TRUE(IsPlayOnly("HD:/x.Wav"));
  EXPECT_TRUE(IsPlayOnly("USB:/a.mid"));
  EXPECT_FALSE(IsPlayOnly("USB:/a.kar"));
  EXPECT_FALSE(IsPlayOnly("id"));
  EXPECT_TRUE(IsStyleFile("USB:/My.STY"));
  for (const char* ext : {".pcs", ".bcs", ".sst", ".prs", ".pst", ".fps"}) {
    EXPECT_TRUE(IsStyleFile(std::string("USB:/a") + ext)) << ext;
  }
  EXPECT_FALSE(IsStyleFile("USB:/a.mid"));
  EXPECT_FALSE(IsStyleFile("sty"));
}

// ---- OK: the checks, in order ----

struct OkCheckCase {
  const char* name;
  bool add;
  std::string target;
  bool style;        // a preset style is selected
  std::string file;  // lblSelectedFile
  bool timeSig;
  bool genre;
  std::string music;
  std::string tempo;
  std::string message;  // empty: stored
  bool focusMusic = false;
};

class OkChecks : public EditorTest, public ::testing::WithParamInterface<OkCheckCase> {};

TEST_P(OkChecks, ShowTheFirstFailingMessageAndStoreNothing) {
  const auto& c = GetParam();
  Open(3, c.target);
  Click(2);
  const std::vector<std::uint8_t> before = fx.state.FileBytes;
  EditorLists& ed = fx.state.Editor;
  fx.state.EditIsNew = c.add;
  ed.cboStyle = c.style ? 0 : -1;
  ed.lblSelectedFile = c.file;
  fx.state.EditStyleOrFile.clear();
  if (c.timeSig) {
    ChooseTimeSignature(fx.state, TimeSigOption::k34);
  } else {
    ed.timeSigOption.clear();
  }
  if (!c.genre) ed.cboGenre.clear();
  ed.txtMusic = c.music;
  ed.txtTempo = c.tempo;

  const OkResult result = Shown(StoreEditedRecord(fx.state, fx.dialogs), fx.dialogs);
  if (c.message.empty()) {
    EXPECT_TRUE(fx.dialogs.messages.empty()) << fx.dialogs.Texts().front();
    EXPECT_TRUE(result.stored);
    EXPECT_FALSE(fx.state.FileSaved);
    return;
  }
  EXPECT_EQ(fx.dialogs.Texts(), std::vector<std::string>{c.message});
  EXPECT_FALSE(result.stored);
  EXPECT_FALSE(result.listChanged);
  EXPECT_EQ(result.focusMusic, c.focusMusic);
  EXPECT_EQ(fx.state.FileBytes, before);
  EXPECT_EQ(fx.state.List.Size(), 3u);
  EXPECT_TRUE(fx.state.FileSaved);
}

INSTANTIATE_TEST_SUITE_P(
    InOrder, OkChecks,
    ::testing::Values(OkCheckCase{"NothingChosenOnMediaModel", true, "PSR-S970", false, "", false,
                                  false, "", "", "Please select a style/song/or audio file"},
                      OkCheckCase{"NothingChosenElsewhere", false, "PSR-2000", false, "", true,
                                  true, "x", "100", "Please select a style"},
                      OkCheckCase{"StyleWithoutTimeSig", true, "PSR-S970", true, "", false, false,
                                  "", "", "Please select a Time Signature"},
                      OkCheckCase{"StyleFileWithoutTimeSig", false, "PSR-S970", false, "USB:/a.STY",
                                  false, true, "x", "100", "Please select a Time Signature"},
                      OkCheckCase{"AddWithoutGenre", true, "PSR-S970", false, "USB:/a.mid", false,
                                  false, "", "", "All entries must have a genre selected"},
                      OkCheckCase{"AddWithoutMusic", true, "PSR-S970", true, "", true, true, "", "",
                                  "All entries must have a Music(song name)", true},
                      OkCheckCase{"AddWithoutTempo", true, "PSR-S970", true, "", true, true, "Tune",
                                  "", "All entries must have a tempo"},
                      OkCheckCase{"AddWithoutTempoKar", true, "PSR-S970", false, "USB:/a.kar",
                                  false, true, "Tune", "", "All entries must have a tempo"},
                      OkCheckCase{"AddPlayOnlyNeedsNoTempo", true, "PSR-S970", false, "USB:/a.wav",
                                  false, true, "Tune", "", ""},
                      OkCheckCase{"ModifyChecksNoGenreMusicOrTempo", false, "PSR-S970", true, "",
                                  true, false, "", "", ""}),
    [](const ::testing::TestParamInfo<OkCheckCase>& info) { return info.param.name; });

// ---- OK: what is written ----

TEST_F(EditorTest, ModifyWritesEveryFieldToTheRowAndTheRecord) {
  Open(3);
  Click(2);
  EditorLists& ed = fx.state.Editor;
  fx.state.EditIsNew = false;
  ChoosePresetStyle(fx.state, StyleIndex("Funk"));
  ChooseTimeSignature(fx.state, TimeSigOption::k68);
  ed.cboGenre = "Caf\xE9 Jazz";  // Windows-1252 text, one byte per character
  AcceptTypedGenre(ed);
  ed.txtMusic = std::string(40, 'M');
  ed.txtTempo = "281";  // OK does not repeat the range check
  ed.txtKeywords = "Slow,\x80uro";
  ed.chkFavorite = false;
  ed.chkSearch1 = true;
  ed.chkSearch2 = true;
  ed.cboIntro = 3;    // Intro 3
  ed.cboSection = 9;  // Ending 2

  const OkResult result = Shown(StoreEditedRecord(fx.state, fx.dialogs), fx.dialogs);
  ASSERT_TRUE(result.stored);
  EXPECT_TRUE(fx.dialogs.messages.empty());

  const Row& row = RowOf(2);
  EXPECT_EQ(row.Cell(col::kGenre), "Caf\xE9 Jazz");
  EXPECT_EQ(row.Cell(col::kMusic), std::string(40, 'M'));
  EXPECT_EQ(row.Cell(col::kStyle), "Funk");
  EXPECT_EQ(row.Cell(col::kTimeSig), " 6/ 8");
  EXPECT_EQ(row.Cell(col::kTempo), "281");
  EXPECT_EQ(row.Cell(col::kKeywords), "Slow,\x80uro");
  EXPECT_EQ(row.Cell(col::kFav), "No");
  EXPECT_EQ(row.Cell(col::kS1), "Yes");
  EXPECT_EQ(row.Cell(col::kS2), "Yes");
  EXPECT_EQ(row.Cell(col::kIntro), "Intro 3");
  EXPECT_EQ(row.Cell(col::kNext), "Ending 2");

  const auto r = Record(2);
  EXPECT_EQ(ReadU16(r, 0), 1);  // the record number stays
  EXPECT_EQ(ReadU16(r, 2), 77);
  EXPECT_EQ(r[4], 6);
  EXPECT_EQ(r[5], 8);
  EXPECT_EQ(ReadU16(r, 6), 281);
  EXPECT_EQ(r[8], 6);
  EXPECT_EQ(std::string(r.begin() + 9, r.begin() + 41), std::string(32, 'M'));
  const std::vector<std::uint8_t> genre(r.begin() + 41, r.begin() + 57);
  const std::vector<std::uint8_t> expectedGenre = {'C', 'a', 'f', 0xE9, ' ', 'J', 'a', 'z',
                                                   'z', 0,   0,   0,    0,   0,   0,   0};
  EXPECT_EQ(genre, expectedGenre);
  EXPECT_EQ(r[57 + 5], 0x80);
  EXPECT_EQ(std::count(r.begin() + 57 + 10, r.begin() + 89, 0), 22);
  EXPECT_EQ(r[89], 0x39);
  EXPECT_EQ(r[90], 0xAB);
  EXPECT_EQ(r[91], 0xCD);

  // The neighbours are untouched, the file is changed, the sections go back to "Off".
  EXPECT_EQ(RowOf(1).Cell(col::kMusic), "Song 1");
  EXPECT_EQ(ReadU16(Record(3), 2), 291);
  EXPECT_FALSE(fx.state.FileSaved);
  EXPECT_EQ(ed.cboIntro, 0);
  EXPECT_EQ(ed.cboSection, 0);
}

struct TempoTextCase {
  const char* text;
  const char* cell;
  int stored;
};

class TempoWritten : public EditorTest, public ::testing::WithParamInterface<TempoTextCase> {};

TEST_P(TempoWritten, RoundsHalvesToEvenAndPadsBelowHundred) {
  Open(1);
  Click(1);
  fx.state.EditIsNew = false;
  ChoosePresetStyle(fx.state, 0);
  fx.state.Editor.txtTempo = GetParam().text;
  ASSERT_TRUE(Shown(StoreEditedRecord(fx.state, fx.dialogs), fx.dialogs).stored);
  EXPECT_EQ(RowOf(1).Cell(col::kTempo), GetParam().cell);
  EXPECT_EQ(ReadU16(Record(1), 6), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TempoWritten,
    ::testing::Values(TempoTextCase{"90", " 90", 90}, TempoTextCase{"120", "120", 120},
                      TempoTextCase{"99.5", "100", 100}, TempoTextCase{"100.5", "100", 100},
                      TempoTextCase{"101.5", "102", 102}, TempoTextCase{"64 beats", " 64", 64}));

TEST_F(EditorTest, EmptyTempoOnModifyKeepsTheRecordWithoutTempo) {
  FileBuilder file;
  file.records.push_back(RecordBuilder{.style = 291, .tempo = 0xFFFF});
  fx.PutFile("notempo.mfd", file.Build());
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  PrepareEditor(fx.state);
  Click(1);
  ASSERT_EQ(fx.state.Editor.txtTempo, "");
  fx.state.EditIsNew = false;
  ChoosePresetStyle(fx.state, 0);
  ASSERT_TRUE(Shown(StoreEditedRecord(fx.state, fx.dialogs), fx.dialogs).stored);
  EXPECT_EQ(RowOf(1).Cell(col::kTempo), "");
  EXPECT_EQ(Record(1)[6], 0xFF);
  EXPECT_EQ(Record(1)[7], 0xFF);
}

TEST_F(EditorTest, PlayOnlyFileInCapitalsHasNoTimeSigOrTempo) {
  Open(2);
  Click(1);
  fx.state.EditIsNew = false;
  fx.state.Editor.lblSelectedFile = "USB:/Songs/LIVE.MP3";
  fx.state.Editor.cboStyle = -1;
  ASSERT_TRUE(Shown(StoreEditedRecord(fx.state, fx.dialogs), fx.dialogs).stored);
  EXPECT_EQ(fx.state.EditStyleOrFile, "USB:/Songs/LIVE.MP3");
  const Row& row = RowOf(1);
  EXPECT_EQ(row.Cell(col::kStyle), "USB:/Songs/LIVE.MP3");
  EXPECT_EQ(row.Cell(col::kTimeSig), "");
  EXPECT_EQ(row.Cell(col::kTempo), "");
  const auto r = Record(1);
  EXPECT_EQ(ReadU16(r, 2), 0xFFFD);
  EXPECT_EQ(std::vector<std::uint8_t>(r.begin() + 4, r.begin() + 8),
            (std::vector<std::uint8_t>{0, 0, 0, 0}));
  // The pass kept the reference for the target.
  EXPECT_EQ(row.styleColor, kBlack);
}

TEST_F(EditorTest, ModifyWithNothingSelectedStoresEmptyGenreAndOff) {
  Open(2);
  Click(2);
  fx.state.EditIsNew = false;
  ChoosePresetStyle(fx.state, 1);
  ClearEditorInputs(fx.state);  // deselects the style too
  ChoosePresetStyle(fx.state, 1);
  ChooseTimeSignature(fx.state, TimeSigOption::k44);
  ASSERT_TRUE(Shown(StoreEditedRecord(fx.state, fx.dialogs), fx.dialogs).stored);
  EXPECT_EQ(RowOf(2).Cell(col::kGenre), "");
  EXPECT_EQ(RowOf(2).Cell(col::kIntro), "Off");
  EXPECT_EQ(RowOf(2).Cell(col::kNext), "Off");
  EXPECT_EQ(RowOf(2).Cell(col::kFav), "No");
  EXPECT_EQ(Record(2)[89], 0);
  EXPECT_EQ(Record(2)[8], 0);
  EXPECT_EQ(std::count(Record(2).begin() + 41, Record(2).begin() + 57, 0), 16);
}

TEST_F(EditorTest, AddAppendsRecordThirteenToATwelveRecordFile) {
  Open(12);
  Click(5);
  const std::size_t size = fx.state.FileBytes.size();
  fx.state.EditIsNew = true;
  ChoosePresetStyle(fx.state, StyleIndex("Pop Rock"));
  fx.state.Editor.txtMusic = "New Song";
  fx.state.Editor.txtTempo = "96";
  fx.state.Editor.cboIntro = 1;
  fx.state.Editor.cboSection = 4;

  const OkResult result = Shown(StoreEditedRecord(fx.state, fx.dialogs), fx.dialogs);
  ASSERT_TRUE(result.stored);
  EXPECT_EQ(result.recordToShow, 13);
  EXPECT_EQ(fx.state.FileBytes.size(), size + 92);
  EXPECT_EQ(HeaderCount(fx.state.FileBytes), 13);
  ASSERT_EQ(fx.state.List.Size(), 13u);
  const Row& row = RowOf(13);
  EXPECT_EQ(row.Cell(col::kNumber), "0013");
  EXPECT_EQ(row.Cell(col::kMusic), "New Song");
  EXPECT_EQ(row.Cell(col::kGenre), "Pop");
  EXPECT_EQ(row.Cell(col::kStyle), "Pop Rock");
  EXPECT_EQ(row.Cell(col::kTempo), " 96");
  EXPECT_EQ(row.Cell(col::kIntro), "Intro 1");
  EXPECT_EQ(row.Cell(col::kNext), "Main A");
  const auto r = Record(13);
  EXPECT_EQ(ReadU16(r, 0), 12);
  EXPECT_EQ(ReadU16(r, 2), 12);
  EXPECT_EQ(ReadU16(r, 6), 96);
  EXPECT_EQ(r[89], 0x14);
  EXPECT_EQ(fx.state.SelectedRecord, 13);
  EXPECT_TRUE(CommandAvailability(fx.state).CmdDelete);
  EXPECT_TRUE(CommandAvailability(fx.state).cmdModify);
  EXPECT_FALSE(fx.state.FileSaved);
  // The preview pass ran over the new record.
  EXPECT_EQ(HeaderCount(fx.state.SaveBytes), 13);
  // Add leaves the section choices as they were.
  EXPECT_EQ(fx.state.Editor.cboIntro, 1);
}

TEST_F(EditorTest, ModifyAfterAddRewritesTheNewRecordNotTheOneClickedBefore) {
  Open(3);
  Click(1);
  fx.state.EditIsNew = true;
  ChoosePresetStyle(fx.state, 0);
  fx.state.Editor.txtMusic = "Added";
  ASSERT_TRUE(Shown(StoreEditedRecord(fx.state, fx.dialogs), fx.dialogs).stored);
  ASSERT_EQ(fx.state.SelectedRecord, 4);
  fx.state.List.SelectOnly(0);  // the selection may have moved since

  fx.state.EditIsNew = false;
  fx.state.Editor.txtMusic = "Changed";
  ASSERT_TRUE(Shown(StoreEditedRecord(fx.state, fx.dialogs), fx.dialogs).stored);
  EXPECT_EQ(RowOf(1).Cell(col::kMusic), "Song 1");
  EXPECT_EQ(DecodeMusic(fx.state.FileBytes, mfd::RecordOffset(1)), "Song 1");
  EXPECT_EQ(RowOf(4).Cell(col::kMusic), "Changed");
  EXPECT_EQ(DecodeMusic(fx.state.FileBytes, mfd::RecordOffset(4)), "Changed");
}

TEST_F(EditorTest, RowPointingPastTheImageIsReportedAndLeftUnchanged) {
  Open(2);
  fx.state.List[1].record = 50;
  Click(50);
  fx.state.EditIsNew = false;
  ChoosePresetStyle(fx.state, 0);
  fx.state.Editor.txtMusic = "Changed";
  const OkResult result = Shown(StoreEditedRecord(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_FALSE(result.stored);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_NE(fx.dialogs.Texts()[0].find("encountered in Function EditCommandOK ."),
            std::string::npos)
      << fx.dialogs.Texts()[0];
  EXPECT_EQ(RowOf(50).Cell(col::kMusic), "Song 2");
  EXPECT_TRUE(fx.state.FileSaved);
}

}  // namespace
}  // namespace cadenzo
