// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "app/app_state.h"
#include "app/outcome.h"

namespace cadenzo {

// Refills the record editor's style entries from the target's list and sets DefaultStyle to the
// last style named in it. A malformed line is reported with "   setupCboStyle  " followed by the
// last good name, two blanks and the last good number; the fill stops and DefaultStyle stays.
Outcome setupCboStyle(AppState& state);

// The main-window caption after a change of target or default style.
std::string TargetCaption(const AppState& state);

}  // namespace cadenzo
