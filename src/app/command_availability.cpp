// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_availability.h"

namespace cadenzo {

AvailableCommands CommandAvailability(const AppState& state) {
  AvailableCommands a;
  a.checkedCount = state.List.CheckedCount();
  const bool anyChecked = a.checkedCount > 0;

  using DeleteChecked = CheckCommandRules::DeleteChecked;
  switch (state.CheckCommands.deleteChecked) {
    case DeleteChecked::kFollowsMarks:
      a.cmdDeleteChecked = anyChecked;
      break;
    case DeleteChecked::kOnWithoutMarks:
      a.cmdDeleteChecked = true;
      break;
    case DeleteChecked::kOffWhileMarked:
      a.cmdDeleteChecked = false;
      break;
  }
  a.cmdPlayList = anyChecked || state.CheckCommands.playListWithoutMarks;

  // Before any file was opened every row command is offered; once one is, they wait for a row.
  const bool open = !state.RowCommandsNeedSelection;
  a.CmdDelete = open || state.SelectedRecord > 0;
  a.cmdModify = a.CmdDelete;
  a.cmdReplaceStyle = open || state.RowClicked;

  a.timeSigAndTempo = !state.Editor.timeSigAndTempoOff;
  a.sections = !state.Editor.sectionsOff;
  return a;
}

bool TimingControlEnabled(const AvailableCommands& available, std::size_t index) {
  return index < kTimeSigAndTempoControls ? available.timeSigAndTempo : available.sections;
}

}  // namespace cadenzo
