// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QIcon>
#include <memory>

#include "app/dialogs.h"

namespace Ui {
class FrmAbout;
}

namespace cadenzo {

// The About box frmAbout: title, version, description and the program's icon. Shown modeless;
// OK discards it.
class FrmAbout : public QDialog {
  Q_OBJECT

 public:
  FrmAbout(Dialogs& dialogs, const QIcon& icon, QWidget* parent = nullptr);
  ~FrmAbout() override;

  void StoreEditedRecord();
  void cmdSysInfo_Click();

 private:
  Dialogs& dialogs_;
  std::unique_ptr<Ui::FrmAbout> ui_;
};

}  // namespace cadenzo
