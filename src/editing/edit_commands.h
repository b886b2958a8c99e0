// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

// The Add and Modify commands of the main window. Both only prepare the record editor; they
// return true when the editor should be shown. Storing is the editor's OK.

// Selects the editor's section combos and its style or file from a row's texts: S the "Style or
// File" text, I the Intro text, X the Next Section text. A section text not in the list selects
// "Off"; a style name not in the list selects no style; a text with ":" is a file reference.
void SelectEditorControls(AppState& state, const std::string& s, const std::string& i,
                          const std::string& x);

// cmdAdd and mnuAdd: a new record, the selected row's current data as defaults; without a row
// clicked in an empty file, empty inputs and no media file.
Result<bool> StartAddRecord(AppState& state);

// cmdModify, mnuModify and the double click in edit mode: changes the selected record, the editor
// showing the row's current values. Rows of the instrument's user area and deleted rows cannot be
// modified. Errors are reported with "cmdModify".
Result<bool> StartModifyRecord(AppState& state);

}  // namespace cadenzo
