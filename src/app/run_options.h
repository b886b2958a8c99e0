// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>

#include "rows/record_list.h"

namespace cadenzo {

// The run's settings: folders, menu options that hold for the session, headless switches and the
// MIDI device chosen. None of them belongs to the open file.
struct RunOptions {
  std::string AppPath;
  std::string UserFolder;
  std::string CommandLineFile;
  Colour UnknownStyleColor = kRed;
  bool AllowUserStyles = true;
  std::string DefaultStyle;
  std::string OpenFolder;
  std::string SaveFolder;
  std::string ExportFolder;
  std::string ImportFolder;

  // Headless use: the source instrument was named by the user, so the reader does not detect it,
  // and the conversion log goes to a file of the user's choice instead of the user folder.
  bool KeepSourceInstrument = false;
  std::string ExportLogPath;
  // Headless use: no window shows the list, so the preview pass (which colours it and rewrites
  // the conversion log) is not run. Saving runs the pass as always.
  bool SkipPreview = false;

  // Menu options that start checked or unchecked at every start.
  bool AutoDetect = true;        // mnuAuto checked (else mnuStyleNumbers)
  bool DoubleClickEdits = true;  // mnuEditRecord checked (else mnuToggleFavorite)
  bool HideGridLines = false;    // mnuHideGridLines
  int ListFontSize = 8;

  // The MIDI output chosen in frmMidiDevice for this run (nothing is saved): the list index of
  // the selected cboMidiDevice entry, -1 while none is chosen, and the name it showed, so that
  // the send finds the same device if the system's list changed since.
  int MidiDeviceIndex = -1;
  std::string MidiDeviceName;

  // Filter List's question was answered with "Don't ask again during this run" ticked.
  bool FilterWithoutAsking = false;

  // The text-file problems already reported in this run; each is shown once.
  std::set<std::string, std::less<>> ReportedTextFileProblems;
};

}  // namespace cadenzo
