// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"
#include "rows/record_list.h"

namespace cadenzo {

// The deletion marker: a deleted row keeps its place in the list with this Genre text, and the
// processing pass leaves its record out of the file it writes.
inline constexpr std::string_view kDeletedMarker = "deleted";

inline constexpr const char* kUserAreaNotDeletable =
    "This is a Preset file in the User Area and it cannot be deleted from Cadenzo";

// Marks a row deleted: Genre "deleted", Music, Style or File, TimeSig, Tempo and Keywords
// emptied; Number, the flag cells and the sections stay.
void MarkRowDeleted(Row& row);

// CmdDelete "Delete" and mnuDeleteItem: deletes the selected row unless it refers to a file in
// the instrument's user area. Errors are reported with "cmdDelete".
Outcome DeleteSelectedRow(AppState& state);

// cmdDeleteChecked "Del Chk'd" and mnuDeleteCheckedItems: deletes every checked row except those
// whose Style or File begins with "D:", which stay checked. Errors are reported with
// "Delecte_Checked".
Outcome DeleteCheckedRows(Document& state);

}  // namespace cadenzo
