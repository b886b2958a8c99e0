#pragma once

#include <cstdint>
#include <span>

#include "app/app_state.h"
#include "app/dialogs.h"

namespace cadenzo {

// Reads FileBytes into the record list: detection, source styles, every row, media paths, the
// genre list, the editor's lists, enabled controls, caption, the preview pass. Errors are
// reported with "List1"; a file shorter than its count is read as far as its bytes go.
void ReadMusicFinderFile(AppState& state, Dialogs& dialogs);

// Loads a whole file into FileBytes. false = "failed" (missing, unreadable, or empty with the
// "Bad File" message).
bool LoadFileBytes(AppState& state, Dialogs& dialogs, const std::string& path);

// The open procedure: resets the selection, loads CurrentFilePath and reads it. Errors are
// reported with "Entry".
void OpenMusicFinderFile(AppState& state, Dialogs& dialogs);

}  // namespace cadenzo
