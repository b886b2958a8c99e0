// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about_box.h"

#include <QFont>
#include <QPushButton>

#include "app/about.h"
#include "ui/qt_text.h"
#include "ui_about_box.h"

namespace cadenzo {

FrmAbout::FrmAbout(Dialogs& dialogs, const QIcon& icon, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), ui_(std::make_unique<Ui::FrmAbout>()) {
  ui_->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(ToQt(AboutCaption()));
  setWindowIcon(icon);
  ui_->picIcon->setPixmap(icon.pixmap(64, 64));
  ui_->lblTitle->setText(ToQt(kProgramTitle));
  QFont titleFont = ui_->lblTitle->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
  titleFont.setBold(true);
  ui_->lblTitle->setFont(titleFont);
  ui_->lblVersion->setText(ToQt(VersionText(ProgramVersion())));
  ui_->lblDescription->setText(ToQt(kAboutDescription));
  ui_->lblDisclaimer->setText(QString());
  connect(ui_->cmdOK, &QPushButton::clicked, this, &FrmAbout::StoreEditedRecord);
  connect(ui_->cmdSysInfo, &QPushButton::clicked, this, &FrmAbout::cmdSysInfo_Click);
}

FrmAbout::~FrmAbout() = default;

void FrmAbout::StoreEditedRecord() { close(); }

void FrmAbout::cmdSysInfo_Click() {
  // The system information tool is a Windows program; this platform has none to start.
  dialogs_.Show(kSystemInfoUnavailable);
}

}  // namespace cadenzo
