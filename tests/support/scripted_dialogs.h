// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/dialogs.h"
#include "app/outcome.h"
#include "app/paths.h"

namespace cadenzo::testing {

// A Dialogs double for tests: records every request and answers from a queue. A prompt the test
// did not queue an answer for throws UnexpectedPrompt, which fails the test.
class UnexpectedPrompt : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

class ScriptedDialogs : public Dialogs, public DocumentOpener {
 public:
  // Queued answers, consumed in order by the kind of request.
  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  void QueueInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
  void QueueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }

  Answer Message(const MessageRequest& request) override {
    messages.push_back(request);
    if (request.buttons == Buttons::kOk) {
      if (!answers_.empty() && answers_.front() == Answer::kOk) answers_.pop_front();
      return Answer::kOk;
    }
    if (answers_.empty()) throw UnexpectedPrompt("unexpected question: " + request.text);
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
  }
  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) override {
    inputPrompts.push_back(prompt);
    inputTitles.push_back(title);
    inputDefaults.push_back(defaultText);
    if (inputs_.empty()) throw UnexpectedPrompt("unexpected input box: " + prompt);
    auto v = inputs_.front();
    inputs_.pop_front();
    return v;
  }
  std::optional<std::string> OpenFile(const FileRequest& request) override {
    return NextFile(request);
  }
  std::optional<std::string> SaveFile(const FileRequest& request) override {
    return NextFile(request);
  }
  void SetBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
  void OpenDocument(const std::string& path) override { openedDocuments.push_back(path); }

  // The texts of all message boxes shown so far.
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
  }
  bool AllAnswered() const {
    return answers_.empty() && inputs_.empty() && files_.empty() && ticks_.empty();
  }

  std::vector<MessageRequest> messages;
  std::vector<std::string> inputPrompts;
  std::vector<std::string> inputTitles;
  std::vector<std::string> inputDefaults;
  std::vector<FileRequest> fileRequests;
  std::vector<std::string> openedDocuments;
  int busyDepth = 0;

 private:
  std::optional<std::string> NextFile(const FileRequest& request) {
    fileRequests.push_back(request);
    if (files_.empty()) throw UnexpectedPrompt("unexpected file dialog: " + request.title);
    auto v = files_.front();
    files_.pop_front();
    return v;
  }

  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> inputs_;
  std::deque<std::optional<std::string>> files_;

 public:
  // Status lines and progress reports, in order; questions with a check box answer from the
  // answer queue and tick the box as queued (unqueued: left as it was).
  void Status(const std::string& line) override { statuses.push_back(line); }
  void Progress(std::size_t done, std::size_t total) override {
    progress.emplace_back(done, total);
  }
  Answer MessageWithCheckBox(const MessageRequest& request, const std::string& checkBox,
                             bool& ticked) override {
    checkBoxes.push_back(checkBox);
    const Answer a = Message(request);
    if (!ticks_.empty()) {
      ticked = ticks_.front();
      ticks_.pop_front();
    }
    return a;
  }
  void QueueCheckBox(bool ticked) { ticks_.push_back(ticked); }

  std::vector<std::string> statuses;
  std::vector<std::pair<std::size_t, std::size_t>> progress;
  std::vector<std::string> checkBoxes;

 private:
  std::deque<bool> ticks_;
};

// Presents a command's outcome to the dialogs as the windows do, and gives the result back: the
// tests then see the messages in the order the person would.
inline Outcome Presented(Outcome outcome, Dialogs& dialogs) {
  Present(outcome, dialogs);
  return outcome;
}
template <typename Result>
requires requires(Result r) { r.outcome; }
Result Presented(Result result, Dialogs& dialogs) {
  Present(result.outcome, dialogs);
  return result;
}

}  // namespace cadenzo::testing
