// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace cadenzo {

// A refit of the list columns that a command asks the main window for.
enum class ColumnFit { kNone, kContents, kHeaderAndContents };

// What the commands ask of the windows: the caption to show and one-shot requests that the
// window carries out and resets.
struct ViewRequests {
  // The main window caption.
  std::string Caption = "Cadenzo";
  // Set by the reader when the user should be led to the target list (a NetCommon file).
  bool FocusTargetRequested = false;
  // Set by a command that changed cell widths; the main window fits the columns and resets it.
  ColumnFit PendingColumnFit = ColumnFit::kNone;
};

}  // namespace cadenzo
