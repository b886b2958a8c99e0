// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cadenzo {

// An entry of a combo box: its text and its integer item data.
struct ComboEntry {
  std::string text;
  int data = 0;
};

// How many of the editor's timing controls are the time-signature options and the tempo box; the
// rest are the section labels and combos.
inline constexpr std::size_t kTimeSigAndTempoControls = 6;

// The record editor's lists, kept here so that the reader and the target choice can fill them
// before the editor window is first shown.
struct EditorLists {
  // The rest of the editor's controls (frmEdit), named after them; the window mirrors them. A
  // combo box without text holds the index of its selected item, -1 for none.
  int cboStyle = -1;    // entry of styles
  int cboIntro = -1;    // section item, 0 = "Off"
  int cboSection = -1;  // section item, 0 = "Off"
  std::string lblSelectedFile;
  // The notices of the media browse buttons, shown once per run.
  bool UsbNoticeShown = false;
  bool HdNoticeShown = false;
  // A play-only media file turns the timing controls off: the time-signature options and the
  // tempo box, and (browsed on the USB stick) also the section labels and combos.
  bool timeSigAndTempoOff = false;
  bool sectionsOff = false;

  std::vector<ComboEntry> styles;   // cboStyle of the editor
  std::vector<std::string> genres;  // cboGenre of the editor
  int styleDropHeight = 0;          // pixels

  // What a row click copies into the editor (frmEdit) and the replace window (frmStyleReplace);
  // the windows show these when they open and keep them until the next click.
  std::string txtMusic;
  std::string txtTempo;
  std::string txtKeywords;
  bool chkFavorite = false;
  bool chkSearch1 = false;
  bool chkSearch2 = false;
  // objectName of the checked time-signature option ("opt00", "opt24", "opt34", "opt44",
  // "opt68"); empty: none checked.
  std::string timeSigOption;
  // The entry of cboGenre (one of genres) to select; empty: none chosen yet.
  std::string cboGenre;
  std::string lblCurrentStyle;  // caption of frmStyleReplace's current-style label
};

// The clicked row as the editor and the keyboard messages take it, and the record being edited.
struct EditorDraft {
  // The record of the row last clicked, counted from 1 (a row's `record`); 0: none.
  int SelectedRecord = 0;
  std::int16_t SelectedTempo = 0;
  std::int16_t SelectedIntroCode = 0;
  std::int16_t SelectedNextCode = 0;
  std::string SelectedStyleText;
  bool EditIsNew = false;
  std::string EditTimeSig;
  std::string EditStyleOrFile;

  EditorLists Editor;
};

}  // namespace cadenzo
