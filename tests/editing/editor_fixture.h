// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "editing/record_editor.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "support/app_fixture.h"

namespace cadenzo::testing {

// An open file, the editor loaded, and a stand-in for the row click that fills the editor.
class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}, {"Pop Rock", "12"}, {"Funk", "77"}});
    fx.WriteStyleList("PSR-2000", {{"Pop Rock", "14"}, {"Swing", "30"}});
  }

  // A file of `count` records on `model`: record i has the song "Song i", genre "Pop" or "Rock",
  // style Cool Beat and the tail bytes 0xAB 0xCD.
  void Open(int count = 3, const std::string& model = "PSR-S970") {
    FileBuilder file{.model = model};
    for (int i = 0; i < count; ++i) {
      file.records.push_back(RecordBuilder{.number = i,
                                           .style = model == "PSR-S970" ? 291 : 30,
                                           .music = "Song " + std::to_string(i + 1),
                                           .genre = i % 2 == 0 ? "Pop" : "Rock",
                                           .tail0 = 0xAB,
                                           .tail1 = 0xCD});
    }
    fx.PutFile("edit.mfd", file.Build());
    Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
    ASSERT_TRUE(fx.state.FileLoaded);
    PrepareEditor(fx.state);
  }

  // What a click on the row of record n loads into the editor.
  void Click(int n) {
    AppState& s = fx.state;
    const int position = s.List.FindByRecord(n);
    ASSERT_GE(position, 0);
    s.List.SelectOnly(position);
    const Row& row = s.List[static_cast<std::size_t>(position)];
    s.SelectedRecord = static_cast<std::int16_t>(n);
    s.Editor.txtMusic = row.Cell(col::kMusic);
    s.Editor.txtTempo = row.Cell(col::kTempo);
    s.Editor.txtKeywords = row.Cell(col::kKeywords);
    s.Editor.chkFavorite = row.Cell(col::kFav) == "Yes";
    s.Editor.chkSearch1 = row.Cell(col::kS1) == "Yes";
    s.Editor.chkSearch2 = row.Cell(col::kS2) == "Yes";
    for (const auto& choice : TimeSigChoices()) {
      if (choice.editTimeSig == row.Cell(col::kTimeSig)) ChooseTimeSignature(s, choice.option);
    }
    for (const auto& genre : s.Editor.genres) {
      if (genre == row.Cell(col::kGenre)) s.Editor.cboGenre = genre;
    }
  }

  int StyleIndex(const std::string& name) const {
    for (std::size_t i = 0; i < fx.state.Editor.styles.size(); ++i) {
      if (fx.state.Editor.styles[i].text == name) return static_cast<int>(i);
    }
    return -1;
  }

  std::span<const std::uint8_t> Record(int n) const {
    return std::span(fx.state.FileBytes)
        .subspan(mfd::RecordOffset(static_cast<std::size_t>(n)), mfd::kRecordSize);
  }
  const Row& RowOf(int n) const {
    return fx.state.List[static_cast<std::size_t>(fx.state.List.FindByRecord(n))];
  }

  AppFixture fx;
};

}  // namespace cadenzo::testing
