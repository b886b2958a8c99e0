// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/info_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include "textio/info_views.h"
#include "textio/rtf_writer.h"
#include "ui/qt_text.h"
#include "ui/rtf_reader.h"
#include "ui_info_window.h"

namespace cadenzo {
namespace {

constexpr int kPrinterError = 482;

}  // namespace

FrmInfo::FrmInfo(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), ui_(std::make_unique<Ui::FrmInfo>()) {
  ui_->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);
  ui_->rtfInfo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  connect(ui_->mnuCopy, &QAction::triggered, this, &FrmInfo::mnuCopy_Click);
  connect(ui_->mnuPrint, &QAction::triggered, this, &FrmInfo::mnuPrint_Click);
  connect(ui_->mnuExit, &QAction::triggered, this, &FrmInfo::mnuExit_Click);
}

FrmInfo::~FrmInfo() = default;

QTextEdit* FrmInfo::RtfInfo() const { return ui_->rtfInfo; }

void FrmInfo::ShowDocument(const RtfDocument& document, const QString& caption) {
  FillTextDocument(*ui_->rtfInfo->document(), document);
  QTextCursor start(ui_->rtfInfo->document());
  start.movePosition(QTextCursor::Start);
  ui_->rtfInfo->setTextCursor(start);
  setWindowTitle(caption);
}

void FrmInfo::mnuCopy_Click() {
  // The selection goes on the clipboard as plain text and as rich text.
  const QTextDocumentFragment selection = ui_->rtfInfo->textCursor().selection();
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  auto* data = new QMimeData;
  data->setText(selection.toPlainText());
  if (!selection.isEmpty()) {
    data->setHtml(selection.toHtml());
    const std::string rtf = WriteRtf(RtfFromSelection(ui_->rtfInfo->textCursor()));
    const QByteArray bytes(rtf.data(), static_cast<qsizetype>(rtf.size()));
    data->setData(QStringLiteral("text/rtf"), bytes);
    data->setData(QStringLiteral("application/rtf"), bytes);
  }
  clipboard->setMimeData(data);
}

void FrmInfo::mnuPrint_Click() {
  QPrinter printer(QPrinter::HighResolution);
  const bool hasSelection = ui_->rtfInfo->textCursor().hasSelection();
  // No page range: the text is printed whole or as its selection.
  QAbstractPrintDialog::PrintDialogOptions options =
      QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize;
  if (hasSelection) {
    options |= QAbstractPrintDialog::PrintSelection;
    printer.setPrintRange(QPrinter::Selection);
  }
  QPrintDialog dlg1(&printer, this);
  dlg1.setObjectName(QStringLiteral("dlg1"));
  dlg1.setOptions(options);
  if (dlg1.exec() != QDialog::Accepted) return;  // cancelled: nothing to say
  if (!PrintTo(printer)) {
    dialogs_.Show(PrintErrorMessage(kPrinterError, "Printer error"));
  }
}

bool FrmInfo::PrintTo(QPrinter& printer) const {
  if (!printer.isValid()) return false;
  const QTextCursor cursor = ui_->rtfInfo->textCursor();
  QTextDocument copy;
  copy.setDefaultFont(ui_->rtfInfo->document()->defaultFont());
  if (printer.printRange() == QPrinter::Selection && cursor.hasSelection()) {
    QTextCursor(&copy).insertFragment(cursor.selection());
  } else {
    QTextCursor(&copy).insertFragment(QTextDocumentFragment(ui_->rtfInfo->document()));
  }
  copy.print(&printer);
  return printer.printerState() != QPrinter::Error;
}

void FrmInfo::mnuExit_Click() { close(); }

}  // namespace cadenzo
