// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

// A change of target (ChooseTarget): TargetInstrument, setupCboStyle, the preview pass when a
// file is loaded, and the caption. Errors are recorded under "cboInst".
// A target without a style list says so in the status line.
Outcome ChooseTarget(AppState& state, Dialogs& dialogs, const std::string& model);

// The note for a target that has no style list in either style folder (the target combo's
// tooltip and the status line); nothing when it has one.
std::optional<std::string> TargetStyleListNote(const RunOptions& run, const std::string& target);
inline std::optional<std::string> TargetStyleListNote(const AppState& state) {
  return TargetStyleListNote(state, state.TargetInstrument);
}

}  // namespace cadenzo
