// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

// Shows a command's messages to the scripted dialogs, as the windows do, and gives back what the
// command answered, so a test reads like the person's view of the command.
inline bool Shown(const Outcome& outcome, Dialogs& dialogs) {
  Present(outcome, dialogs);
  return outcome.Ok();
}
template <typename T>
T Shown(Result<T> result, Dialogs& dialogs) {
  Present(result.outcome, dialogs);
  return std::move(result.value);
}
template <typename T>
requires requires(T t) { t.outcome; }
T Shown(T result, Dialogs& dialogs) {
  Present(result.outcome, dialogs);
  return result;
}

}  // namespace cadenzo
