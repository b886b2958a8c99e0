// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "app/dialogs.h"
#include "app/outcome.h"
#include "app/runtime_error.h"

namespace cadenzo {

// The message the reporter shows for an error number, or nothing (error 384).
std::optional<std::string> ErrorMessage(int number, const std::string& description,
                                        const std::string& errorName);

// Shows the message for the error in a box with an OK button and the program's title.
void ReportError(Dialogs& dialogs, const RuntimeError& error, const std::string& errorName);

// Runs a command handler, reporting any failure under the handler's error name.
// Returns false when the handler failed.
template <typename Fn>
bool RunReported(Dialogs& dialogs, const std::string& errorName, Fn&& fn) {
  const Outcome outcome = RunGuarded(errorName, [&](Outcome&) { fn(); });
  Present(outcome, dialogs);
  return outcome.Ok();
}

}  // namespace cadenzo
