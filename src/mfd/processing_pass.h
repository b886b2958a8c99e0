#pragma once

#include <string>

#include "app/app_state.h"
#include "app/dialogs.h"

namespace cadenzo {

enum class PassMode { kPreview, kSave };

// What one pass did, for the command line's summary and for tests.
struct PassResult {
  bool completed = false;  // false: an error was reported, or the user refused at the capacity
  bool saved = false;      // save mode: the file was written
  int recordsRead = 0;     // rows considered (not deleted, and checked when checkedOnly)
  int written = 0;
  int givenDefault = 0;
  int dropped = 0;
  int mediaReferences = 0;
  std::string savedPath;
};

// The record processing pass: converts every row for the target, colours the "Style or File"
// cells, builds SaveBytes, rewrites ExportLog.txt in the user folder, and in save mode checks the
// capacity and writes the file the user names. Errors are reported with "SaveMusicFinderx".
PassResult SaveMusicFinderx(AppState& state, Dialogs& dialogs, const std::string& target,
                            bool checkedOnly, PassMode mode);

// The preview pass for the current target, as every trigger runs it (none when SkipPreview).
inline PassResult RunPreview(AppState& state, Dialogs& dialogs) {
  if (state.SkipPreview) return {};
  return SaveMusicFinderx(state, dialogs, state.TargetInstrument, false, PassMode::kPreview);
}

}  // namespace cadenzo
