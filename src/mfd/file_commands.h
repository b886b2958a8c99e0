// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"
#include "mfd/processing_pass.h"

namespace cadenzo {

// The file choice's filter for Music Finder files.
inline constexpr const char* kMfdFilter = "Music Finder Files(*.mfd)|*.mfd|";

// What a file command asks of the windows afterwards.
enum class CommandOutcome {
  kDone,             // nothing more to do (cancelled, refused or opened)
  kShowSaveOptions,  // the user wants to save first: show the Save As Options window
};

// What a file command did, and what it asks of the windows afterwards.
struct FileCommandResult {
  Outcome outcome;
  CommandOutcome next = CommandOutcome::kDone;
};

// The question before unsaved changes would be lost. true = go on; false = the user chose to
// save first (the command is cancelled and the Save As Options window should open).
bool ConfirmDiscardChanges(Document& state, Dialogs& dialogs, const std::string& title);

// File > New: a blank template from the application folder.
FileCommandResult NewFile(AppState& state, Dialogs& dialogs);
// File > Open.
FileCommandResult ChooseAndOpenFile(AppState& state, Dialogs& dialogs);
// A drop on the main window: the dropped path when the drop is exactly one Music Finder file
// (a name ending in ".mfd" in any letter case); nothing for other drops, which are refused.
std::optional<std::string> DroppedMusicFinderFile(const std::vector<std::string>& paths);
// Opens a dropped file as File > Open does with the file it was given: the unsaved-changes
// question first, then the open folder, caption and open procedure.
FileCommandResult OpenDroppedFile(AppState& state, Dialogs& dialogs, const std::string& path);
// "&Auto" (autoDetect true) or "Use Style Numbers" (false): reads the current file again.
FileCommandResult SetSourceMode(AppState& state, Dialogs& dialogs, bool autoDetect);
// Save As > "&MusicFinder File ": Ok when the Save As Options window should open.
Outcome PrepareSaveAs(const Document& state);
// The main window's close request: true = close now; false = stay open (the Save As Options
// window should be shown modally).
bool ConfirmQuit(Document& state, Dialogs& dialogs);

// Save As Options, "Save": the preview, the confirmation the instruments call for, then the pass
// in save mode. Errors are recorded under "ConvertCommandSave"; what the preview had to say is
// shown before the confirmation is asked.
PassResult ConvertCommandSave(AppState& state, Dialogs& dialogs, bool checkedOnly);

// The two confirmations of the Save As Options window.
std::string DifferentInstrumentsConfirmation();
std::string SameInstrumentConfirmation();
inline constexpr const char* kConversionPreviewTitle = "Music Fincer Conversion Preview";

// Options menu.
Outcome ToggleUserStyles(AppState& state, Dialogs& dialogs);
// mnuRed / mnuBlue: sets the colour of unplaced imported styles; the preview runs in every case.
Outcome SetUnknownStyleColor(AppState& state, Dialogs& dialogs, Colour colour);
// mnuDefaultStyle: Ok when the default style window may open.
Outcome PrepareDefaultStyle(const Document& state);

// The default style window: its entries ("None" first), and the entry to select (-1: none).
struct DefaultStyleChoices {
  std::vector<ComboEntry> entries;
  int selected = -1;
  bool loaded = false;  // false: the outcome says why
  Outcome outcome;
};
DefaultStyleChoices LoadDefaultStyle(AppState& state);
Outcome DefaultStyleCommandOK(AppState& state, Dialogs& dialogs, const std::string& chosen);

}  // namespace cadenzo
