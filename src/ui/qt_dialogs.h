// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/dialogs.h"
#include "app/paths.h"

namespace cadenzo {

// Converts the program's filter text "Music Finder Files(*.mfd)|*.mfd|" into a Qt filter.
QString QtFilterFrom(const std::string& filter);

// Dialogs answered by real Qt dialogs. Each belongs to the window that asked (the active
// window), so that the focus goes back there when it closes; the main window when none is active.
class QtDialogs : public Dialogs, public DocumentOpener {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }
  // The window a dialog shown now belongs to.
  QWidget* Owner() const;

  Answer Message(const MessageRequest& request) override;
  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) override;
  std::optional<std::string> OpenFile(const FileRequest& request) override;
  std::optional<std::string> SaveFile(const FileRequest& request) override;
  void SetBusy(bool busy) override;
  void OpenDocument(const std::string& path) override;
  Answer MessageWithCheckBox(const MessageRequest& request, const std::string& checkBox,
                             bool& ticked) override;

 private:
  // The message box, with the check box when one is given.
  Answer ShowBox(const MessageRequest& request, const std::string* checkBox, bool* ticked);

  QPointer<QWidget> parent_;
  int busyDepth_ = 0;
};

}  // namespace cadenzo
