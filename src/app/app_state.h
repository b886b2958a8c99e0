// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/document.h"
#include "app/editor_draft.h"
#include "app/run_options.h"
#include "app/view_requests.h"

namespace cadenzo {

// The program-wide shared state, with its established names and start values. It is composed of
// its parts by inheritance rather than holding them as members: existing code keeps writing
// `state.FileBytes`, and a function that needs only one part takes `Document&` (or
// `const RunOptions&`, ...) and is called with the whole state unchanged, through the implicit
// conversion to a base.
struct AppState : Document, RunOptions, EditorDraft, ViewRequests {};

}  // namespace cadenzo
