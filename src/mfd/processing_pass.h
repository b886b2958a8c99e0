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
  // Records that needed the default style while the target's list lacks it (left out).
  int needsMissingDefault = 0;
  // Save mode: nothing was written because such records would have been left out.
  bool refusedDefaultStyle = false;
  std::string savedPath;
};

// Whether records can be given the default style on the target: "None" or empty (such records
// are left out), or a name on the target's list.
bool DefaultStyleOnTarget(const std::string& appPath, const std::string& target,
                          const std::string& defaultStyle);
// The refusal when records need a default style that the target's list lacks.
std::string DefaultStyleMissingMessage(const std::string& defaultStyle, const std::string& target);

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
