// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace cadenzo {

enum class Buttons { kOk, kYesNo, kOkCancel };
enum class Icon { kNone, kInformation, kExclamation, kCritical, kQuestion, kWarning };
enum class Answer { kOk, kCancel, kYes, kNo };

// One message box as the core asks for it. Texts are Windows-1252, like all core text.
struct MessageRequest {
  std::string text;
  Buttons buttons = Buttons::kOk;
  Icon icon = Icon::kNone;
  std::string title;      // empty: the program's title "Cadenzo"
  int defaultButton = 0;  // 0 = first button, 1 = second
};

// A file choice; paths are native (UTF-8) strings.
struct FileRequest {
  std::string title;
  std::string folder;    // initial folder; empty = where the dialog was last
  std::string fileName;  // initial file name
  std::string filter;    // "Description(*.ext)|pattern|" as the program writes it
  std::string defaultExtension;
};

// Everything the core asks of the person. The shell answers with real dialogs, tests with a
// scripted double.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  virtual Answer Message(const MessageRequest& request) = 0;
  // nullopt = Cancel.
  virtual std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                           const std::string& defaultText) = 0;
  virtual std::optional<std::string> OpenFile(const FileRequest& request) = 0;
  virtual std::optional<std::string> SaveFile(const FileRequest& request) = 0;
  virtual void SetBusy(bool busy) = 0;

  // The common case: a text with an OK button and the program's title.
  Answer Show(const std::string& text) { return Message(MessageRequest{.text = text}); }

  // The one-line confirmation of a finished command ("Exported 300 records"); the main window
  // shows it in its status bar, elsewhere it is not shown.
  virtual void Status(const std::string& /*line*/) {}
  // Long work has done `done` of `total` steps; the window shows the progress, elsewhere it is
  // not shown. May be called very often: the shell decides how often it repaints.
  virtual void Progress(std::size_t /*done*/, std::size_t /*total*/) {}
  // A question with a check box under it ("Don't ask again"): `ticked` is the box's state when
  // asked and when answered. Without a box to show, the plain question.
  virtual Answer MessageWithCheckBox(const MessageRequest& request, const std::string& /*checkBox*/,
                                     bool& /*ticked*/) {
    return Message(request);
  }
};

// Turns the busy cursor on for the lifetime of the guard.
class BusyGuard {
 public:
  explicit BusyGuard(Dialogs& dialogs) : dialogs_(dialogs) { dialogs_.SetBusy(true); }
  ~BusyGuard() { dialogs_.SetBusy(false); }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  Dialogs& dialogs_;
};

inline constexpr const char* kProgramTitle = "Cadenzo";

}  // namespace cadenzo
