// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

#include "app/dialogs.h"
#include "textio/rtf_parser.h"

class QPrinter;
class QTextEdit;

namespace Ui {
class FrmInfo;
}

namespace cadenzo {

// The information window frmInfo: a rich text box rtfInfo with the menus Copy, Print and Exit.
// It shows the quick start guide, the logs and the target's style list. Exit discards it.
class FrmInfo : public QMainWindow {
  Q_OBJECT

 public:
  explicit FrmInfo(Dialogs& dialogs, QWidget* parent = nullptr);
  ~FrmInfo() override;

  // Replaces the text, sets the caption and puts the caret at the start.
  void ShowDocument(const RtfDocument& document, const QString& caption);

  QTextEdit* RtfInfo() const;

  // Prints on a printer already set up: the selection when the printer's range is "Selection"
  // and text is selected, otherwise the whole text. False when the printer failed.
  bool PrintTo(QPrinter& printer) const;

  void mnuCopy_Click();
  void mnuPrint_Click();
  void mnuExit_Click();

 private:
  Dialogs& dialogs_;
  std::unique_ptr<Ui::FrmInfo> ui_;
};

}  // namespace cadenzo
