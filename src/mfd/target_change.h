// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

// A change of target (ChooseTarget): TargetInstrument, setupCboStyle, the preview pass when a
// file is loaded, and the caption. Errors are recorded under "cboInst".
Outcome ChooseTarget(AppState& state, Dialogs& dialogs, const std::string& model);

}  // namespace cadenzo
