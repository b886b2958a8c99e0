#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "rows/record_list.h"

namespace cadenzo {

// An entry of a combo box: its text and its integer item data.
struct ComboEntry {
  std::string text;
  int data = 0;
};

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
  // Enabled state of the editor's controls by objectName; a name not present is enabled.
  std::map<std::string, bool, std::less<>> Enabled;
  bool IsEnabled(const std::string& name) const {
    const auto it = Enabled.find(name);
    return it == Enabled.end() || it->second;
  }
  void Enable(const std::string& name, bool on = true) { Enabled[name] = on; }

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

// A refit of the list columns that a command asks the main window for.
enum class ColumnFit { kNone, kContents, kHeaderAndContents };

// The program-wide shared state, with its established names and start values.
struct AppState {
  std::vector<std::uint8_t> FileBytes;
  // The header count, an unsigned 16-bit number, held whole (a file may hold up to 65,535).
  int RecordCount = 0;
  std::string FileName;
  std::string SourceInstrument;
  std::string TargetInstrument;
  std::string AppPath;
  std::string UserFolder;
  std::string CommandLineFile;
  Colour UnknownStyleColor = kRed;
  bool AllowUserStyles = true;
  std::string DefaultStyle;
  bool FileSaved = true;
  bool FileLoaded = false;
  std::string OpenFolder;
  std::string SaveFolder;
  std::string ExportFolder;
  std::string ImportFolder;
  std::vector<std::uint8_t> SaveBytes;
  std::vector<std::string> GenreList;
  std::int16_t SortColumn = 0;
  // The record of the row last clicked, counted from 1 (a row's `record`); 0: none.
  int SelectedRecord = 0;
  std::int16_t SelectedTempo = 0;
  std::int16_t SelectedIntroCode = 0;
  std::int16_t SelectedNextCode = 0;
  std::string SelectedStyleText;
  bool EditIsNew = false;
  std::string EditTimeSig;
  std::string EditStyleOrFile;
  bool ShowConversionNotes = false;
  // Set by the reader when the user should be led to the target list (a NetCommon file).
  bool FocusTargetRequested = false;

  // The source style list: number text (without leading zeros) to name, first of duplicates.
  // Kept as the reader built it; keys compare without regard to case (they are digits).
  std::unordered_map<std::string, std::string> SourceStyles;

  // The full path of the open Music Finder file, kept apart from the file dialog's last choice
  // so that re-reading always reads the Music Finder file.
  std::string CurrentFilePath;
  // Headless use: the source instrument was named by the user, so the reader does not detect it,
  // and the conversion log goes to a file of the user's choice instead of the user folder.
  bool KeepSourceInstrument = false;
  std::string ExportLogPath;
  // Headless use: no window shows the list, so the preview pass (which colours it and rewrites
  // the conversion log) is not run. Saving runs the pass as always.
  bool SkipPreview = false;

  // The main window caption.
  std::string Caption = "Cadenzo";

  // The record list of the main window.
  RecordList List;
  bool AnyChecked = false;
  std::string lblNumberChecked = "0";  // caption of the checked-count label
  // Set by a command that changed cell widths; the main window fits the columns and resets it.
  ColumnFit PendingColumnFit = ColumnFit::kNone;

  // Menu options that start checked or unchecked at every start.
  bool AutoDetect = true;        // mnuAuto checked (else mnuStyleNumbers)
  bool DoubleClickEdits = true;  // mnuEditRecord checked (else mnuToggleFavorite)
  bool HideGridLines = false;    // mnuHideGridLines
  int ListFontSize = 8;

  EditorLists Editor;

  // The MIDI output chosen in frmMidiDevice for this run (nothing is saved): the list index of
  // the selected cboMidiDevice entry, -1 while none is chosen, and the name it showed, so that
  // the send finds the same device if the system's list changed since.
  int MidiDeviceIndex = -1;
  std::string MidiDeviceName;

  // Enabled state of the main window's controls by objectName; a name not present is enabled.
  std::map<std::string, bool, std::less<>> Enabled;
  bool IsEnabled(const std::string& name) const {
    const auto it = Enabled.find(name);
    return it == Enabled.end() || it->second;
  }
  void Enable(const std::string& name, bool on = true) { Enabled[name] = on; }
};

}  // namespace cadenzo
