// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/outcome.h"

#include "app/report_error.h"

namespace cadenzo {

void Outcome::Absorb(Outcome other) {
  for (auto& m : other.messages) messages.push_back(std::move(m));
  if (!other.status.empty()) status = std::move(other.status);
  if (problem == Problem::kNone && other.problem != Problem::kNone) {
    problem = other.problem;
    file = std::move(other.file);
    record = other.record;
    errorNumber = other.errorNumber;
  }
}

std::string Counted(long long n, const std::string& noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

void RecordError(Outcome& outcome, const RuntimeError& error, const std::string& errorName) {
  outcome.problem = Problem::kUnexpected;
  outcome.errorNumber = error.Number();
  // Error 384 has no message; the command still failed.
  if (auto text = ErrorMessage(error.Number(), error.Description(), errorName)) {
    outcome.messages.push_back(MessageRequest{.text = *text});
  }
}

void Present(const Outcome& outcome, Dialogs& dialogs) {
  for (const MessageRequest& m : outcome.messages) dialogs.Message(m);
  if (!outcome.status.empty()) dialogs.Status(outcome.status);
}

}  // namespace cadenzo
