// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

// The record editor frmEdit: its controls live in AppState::Editor and these handlers carry its
// rules. The window only mirrors the state and forwards its events here.

// The eleven items of cboIntro and cboSection; the item data is the section digit of the record.
std::span<const ComboEntry> SectionItems();

// The five time-signature options of Frame1.
enum class TimeSigOption { k00, k24, k34, k44, k68 };
struct TimeSigChoice {
  TimeSigOption option;
  std::string_view control;      // objectName
  std::string_view caption;      // "4/4"
  std::string_view editTimeSig;  // " 4/ 4", the list's TimeSig text
  int numerator;
  int denominator;
};
std::span<const TimeSigChoice> TimeSigChoices();
// The checked option (timeSigOption names it), or nothing.
const TimeSigChoice* CheckedTimeSig(const EditorLists& editor);

// The controls a play-only file has no use for: the five options and the tempo box, then the
// labels and the section combos. The "HD" browse changes only the first six.
inline constexpr std::array<const char*, 12> kTimingControls = {
    "opt24",  "opt44",  "opt34",   "opt68",   "opt00",    "txtTempo",
    "Label4", "Label5", "Label10", "Label11", "cboIntro", "cboSection"};
void EnableTimingControls(EditorLists& editor, bool on, std::size_t count = kTimingControls.size());

// A reference ends in a style file's extension (".sty", ".pcs", …; last four characters, any
// case).
bool IsStyleFile(std::string_view reference);
// A reference to a song or audio file ("mid", "wav", "mp3"; last three characters, any case): the
// record has no time signature, tempo, intro or section.
bool IsPlayOnly(std::string_view reference);

// Which media controls the editor shows for a target: "USB" with its heading and label on the
// models whose records may reference media, "HD" only on the two models with a hard disk.
struct MediaControls {
  bool cmdBrowse = false;
  bool cmdBrowse2 = false;
  bool labels = false;  // Label12 and lblSelectedFile
};
MediaControls MediaControlsFor(std::string_view target);

// First use of the window: the section items with "Off" selected, an empty file label.
void PrepareEditor(EditorDraft& state);

// cboGenre's text is one of its entries: a genre is selected.
bool GenreSelected(const EditorLists& editor);
// cboGenre loses focus: a typed genre that matches no entry becomes a new last entry, selected.
void AcceptTypedGenre(EditorLists& editor);

// A preset style was chosen: it replaces any media file.
void ChoosePresetStyle(EditorDraft& state, int index);
// cboStyle loses focus: the timing controls are enabled again.
Outcome LeaveStyleChoice(EditorDraft& state);

// A time-signature option was clicked.
void ChooseTimeSignature(EditorDraft& state, TimeSigOption option);

// The numeric value of a text: its leading number (blanks, tabs and line feeds skipped), 0 when
// it has none.
double LeadingNumberValue(std::string_view text);

// txtTempo loses focus. Returns false, after its message, when the tempo is outside 32 to 280:
// the focus stays in the box.
Outcome CheckTempoInput(const EditorDraft& state);

// "Clear": empties the inputs; the media file stays.
void ClearEditorInputs(EditorDraft& state);

// The list row of SelectedRecord (the selected one among rows of equal number), or -1. Modify
// reads and rewrites this row, so that its cells and its record always belong together.
int SelectedRecordRow(const AppState& state);

// What OK asks of the window.
struct OkResult {
  bool stored = false;       // the record was written: refresh the list and hide
  bool focusMusic = false;   // a message sent the focus to txtMusic
  bool listChanged = false;  // cells changed (also when an error ended OK midway)
  int recordToShow = 0;      // Add: the new record's number, to scroll into view
  Outcome outcome;           // a refusal names the missing input
};

// "OK": validates, writes the row cells and the record bytes, marks the file changed and runs the
// preview pass. Errors are reported with "EditCommandOK ".
OkResult StoreEditedRecord(AppState& state, Dialogs& dialogs);

}  // namespace cadenzo
