// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QPointer>

#include "app/dialogs.h"

class QMainWindow;
class QProgressBar;
class QStatusBar;

namespace cadenzo {

// Gives the main window its status bar (objectName "statusBar") with a progress bar
// ("prgStatus") that shows only while long work runs.
QStatusBar* AddStatusBar(QMainWindow& window);

// The dialogs the main window's commands use: everything is asked of the dialogs it wraps; the
// status line and the progress of long work also go to the status bar.
class StatusDialogs : public Dialogs {
 public:
  StatusDialogs(Dialogs& inner, QStatusBar* bar);

  Answer Message(const MessageRequest& request) override { return inner_.Message(request); }
  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) override {
    return inner_.Input(prompt, title, defaultText);
  }
  std::optional<std::string> OpenFile(const FileRequest& request) override {
    return inner_.OpenFile(request);
  }
  std::optional<std::string> SaveFile(const FileRequest& request) override {
    return inner_.SaveFile(request);
  }
  void SetBusy(bool busy) override { inner_.SetBusy(busy); }
  Answer MessageWithCheckBox(const MessageRequest& request, const std::string& checkBox,
                             bool& ticked) override {
    return inner_.MessageWithCheckBox(request, checkBox, ticked);
  }
  void Status(const std::string& line) override;
  void Progress(std::size_t done, std::size_t total) override;

 private:
  Dialogs& inner_;
  QPointer<QStatusBar> bar_;
  QPointer<QProgressBar> progress_;
  QElapsedTimer sinceStart_;
  QElapsedTimer sincePaint_;
};

}  // namespace cadenzo
