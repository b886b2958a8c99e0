// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

// What a merge added to the open file.
struct MergeResult {
  Outcome outcome;
  int merged = 0;                 // records appended
  int leftOut = 0;                // records of the other file the open model cannot take
  std::uint32_t firstRecord = 0;  // the first record appended (0: none)
};

// File > Merge: appends the records of another Music Finder file, of any model, to the open file.
// Their styles are carried over by name to the open file's model as a conversion carries them (a
// style the model lacks stays a user style or takes the default style, by the options), media
// references where the model keeps them. The model's capacity is asked about as a save asks. The
// appended rows end up checked and every other row unchecked. A file that cannot be read whole
// changes nothing.
MergeResult MergeMusicFinderFile(AppState& state, Dialogs& dialogs, const std::string& path);

// The same after asking for the file.
MergeResult ChooseAndMergeFile(AppState& state, Dialogs& dialogs);

}  // namespace cadenzo
