// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include "app/app_state.h"

namespace cadenzo {

// Which controls a command may be started from, computed from the state alone. The main window
// and the record editor apply it after every command and refresh; nothing else enables them.
struct AvailableCommands {
  // Main window.
  bool cmdDeleteChecked = true;
  bool cmdPlayList = true;
  bool CmdDelete = true;
  bool cmdModify = true;
  bool cmdReplaceStyle = true;
  int checkedCount = 0;  // what lblNumberChecked shows

  // Record editor: the timing controls a play-only media file turns off. The first six of the
  // timing controls (options and tempo box) follow timeSigAndTempo, the rest follow sections.
  bool timeSigAndTempo = true;
  bool sections = true;

  bool operator==(const AvailableCommands&) const = default;
};

AvailableCommands CommandAvailability(const AppState& state);

// The enabled state of the editor's timing control at `index` of the editor's timing-control
// list (its first six are the options and the tempo box).
bool TimingControlEnabled(const AvailableCommands& available, std::size_t index);

}  // namespace cadenzo
