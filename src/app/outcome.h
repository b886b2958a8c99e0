// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/dialogs.h"
#include "app/runtime_error.h"

namespace cadenzo {

// What went wrong in a command, for callers that decide by it (the command line's exit code, a
// window that keeps itself open). The texts the person reads are in Outcome::messages.
enum class Problem {
  kNone,
  kUnexpected,  // a run-time error nobody foresaw: the numbered general message
  kRefused,     // the command declined and said why (nothing selected, a value out of range, ...)
  kCancelled,   // the person answered No or Cancel to one of the command's questions
  kBadFile,     // the file is no Music Finder file, or it cannot be read
  kDamaged,     // the file or the text is damaged; what came before the damage was kept
  kStyleList,   // a style list is missing or cannot be read
  kCannotWrite  // the output could not be written; nothing was written over the user's file
};

// The result of a command: whether it succeeded, what it tells the person (in the order the window
// shows the messages; the command line prints them) and the context of a failure. Commands with
// figures to report return a result struct that holds an Outcome beside its counts.
struct Outcome {
  Problem problem = Problem::kNone;
  std::vector<MessageRequest> messages;
  std::string file;     // the file concerned, when there is one
  int record = 0;       // the record concerned, counted from 1; 0: none
  int errorNumber = 0;  // the run-time error number behind kUnexpected (and file errors)
  // One line in plain words with the figures of what the command changed or wrote ("Exported 300
  // records"), for the main window's status bar; empty when there is nothing to confirm.
  std::string status;

  bool Ok() const { return problem == Problem::kNone; }
  // A message that does not change the success of the command.
  void Say(MessageRequest message) { messages.push_back(std::move(message)); }
  void Say(std::string text) { Say(MessageRequest{.text = std::move(text)}); }
  // The command failed for this reason; the message, when not empty, says so.
  void Fail(Problem why, MessageRequest message) {
    problem = why;
    if (!message.text.empty()) messages.push_back(std::move(message));
  }
  void Fail(Problem why, std::string text) { Fail(why, MessageRequest{.text = std::move(text)}); }
  // Sets the status line that confirms what the command did.
  void Report(std::string line) { status = std::move(line); }
  // Takes over the messages and, when this one has none yet, the problem of another outcome.
  void Absorb(Outcome other);
};

// An outcome with the value a command answers (a row found, what the window should do next).
template <typename T>
struct Result {
  Outcome outcome;
  T value{};
};

// A command that writes a file the person names: what it did, and the path written (empty when
// nothing was written).
struct SavedFile {
  Outcome outcome;
  std::string path;
};

// "1 record", "300 records": a count with its noun, for status lines and messages.
std::string Counted(long long n, const std::string& noun);

// Records a run-time error in the outcome as the general error message shows it for a command
// reported under `errorName`.
void RecordError(Outcome& outcome, const RuntimeError& error, const std::string& errorName);

// Runs a command body, recording any failure under the command's error name. The body may add
// messages to the outcome it is given.
template <typename Fn>
Outcome RunGuarded(const std::string& errorName, Fn&& fn) {
  Outcome outcome;
  try {
    fn(outcome);
  } catch (const RuntimeError& e) {
    RecordError(outcome, e, errorName);
  } catch (const std::bad_alloc&) {
    RecordError(outcome, RuntimeError(7, "Out of memory"), errorName);
  } catch (const std::exception& e) {
    RecordError(outcome, RuntimeError(51, std::string("Internal error: ") + e.what()), errorName);
  }
  return outcome;
}

// Shows an outcome's messages in their order, then its status line (the windows' presentation;
// tests use it with their scripted dialogs).
void Present(const Outcome& outcome, Dialogs& dialogs);

}  // namespace cadenzo
