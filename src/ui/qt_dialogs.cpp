// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QMessageBox>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <QUrl>

#include "textio/text_file.h"
#include "ui/qt_text.h"

namespace cadenzo {
namespace {

// Leaves the temporary files of saves, also those of a save running in another process, out of
// the file lists, whichever filter the person types and whether or not hidden files are shown.
class WithoutSaveTemporaries : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    const QModelIndex index = sourceModel()->index(row, 0, parent);
    return !IsSaveTemporaryName(
        sourceModel()->data(index, QFileSystemModel::FileNameRole).toString().toStdString());
  }
};

// The program's own file dialog rather than the desktop's, whose file list it cannot filter.
void PrepareFileDialog(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setProxyModel(new WithoutSaveTemporaries(&dialog));
}

}  // namespace

QString QtFilterFrom(const std::string& filter) {
  const QStringList parts = ToQt(filter).split(QLatin1Char('|'), Qt::SkipEmptyParts);
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    const qsizetype paren = description.indexOf(QLatin1Char('('));
    if (paren >= 0) description = description.left(paren).trimmed();
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    out << QStringLiteral("%1 (%2)").arg(description, patterns);
  }
  return out.join(QStringLiteral(";;"));
}

QWidget* QtDialogs::Owner() const {
  QWidget* active = QApplication::activeWindow();
  return active != nullptr ? active : parent_.data();
}

Answer QtDialogs::Message(const MessageRequest& request) {
  return ShowBox(request, nullptr, nullptr);
}

Answer QtDialogs::MessageWithCheckBox(const MessageRequest& request, const std::string& checkBox,
                                      bool& ticked) {
  return ShowBox(request, &checkBox, &ticked);
}

Answer QtDialogs::ShowBox(const MessageRequest& request, const std::string* checkBox,
                          bool* ticked) {
  QMessageBox box(Owner());
  if (checkBox != nullptr) {
    auto* check = new QCheckBox(ToQt(*checkBox), &box);
    check->setObjectName(QStringLiteral("chkDontAsk"));
    check->setChecked(*ticked);
    box.setCheckBox(check);
  }
  box.setWindowTitle(ToQt(request.title.empty() ? kProgramTitle : request.title));
  box.setText(ToQt(request.text));
  switch (request.icon) {
    case Icon::kInformation:
      box.setIcon(QMessageBox::Information);
      break;
    case Icon::kExclamation:
    case Icon::kWarning:
      box.setIcon(QMessageBox::Warning);
      break;
    case Icon::kCritical:
      box.setIcon(QMessageBox::Critical);
      break;
    case Icon::kQuestion:
      box.setIcon(QMessageBox::Question);
      break;
    case Icon::kNone:
      break;
  }
  QMessageBox::StandardButton first = QMessageBox::Ok;
  QMessageBox::StandardButton second = QMessageBox::NoButton;
  switch (request.buttons) {
    case Buttons::kOk:
      break;
    case Buttons::kYesNo:
      first = QMessageBox::Yes;
      second = QMessageBox::No;
      break;
    case Buttons::kOkCancel:
      first = QMessageBox::Ok;
      second = QMessageBox::Cancel;
      break;
  }
  box.setStandardButtons(second == QMessageBox::NoButton ? first : (first | second));
  box.setDefaultButton(request.defaultButton == 1 && second != QMessageBox::NoButton ? second
                                                                                     : first);
  const int pressed = box.exec();
  if (checkBox != nullptr) *ticked = box.checkBox()->isChecked();
  switch (pressed) {
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    case QMessageBox::Cancel:
      return Answer::kCancel;
    default:
      return request.buttons == Buttons::kYesNo ? Answer::kNo : Answer::kOk;
  }
}

std::optional<std::string> QtDialogs::Input(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(Owner(), ToQt(title.empty() ? kProgramTitle : title), ToQt(prompt),
                            QLineEdit::Normal, ToQt(defaultText), &ok);
  if (!ok) return std::nullopt;
  return FromQt(text);
}

std::optional<std::string> QtDialogs::OpenFile(const FileRequest& request) {
  QString start = PathToQt(request.folder);
  if (!request.fileName.empty()) start = PathToQt(request.folder + request.fileName);
  QFileDialog dialog(Owner(), ToQt(request.title), start, QtFilterFrom(request.filter));
  PrepareFileDialog(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return PathFromQt(dialog.selectedFiles().constFirst());
}

std::optional<std::string> QtDialogs::SaveFile(const FileRequest& request) {
  QFileDialog dialog(Owner(), ToQt(request.title), PathToQt(request.folder),
                     QtFilterFrom(request.filter));
  PrepareFileDialog(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The program asks its own replace question.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(ToQt(request.defaultExtension));
  if (!request.fileName.empty()) dialog.selectFile(PathToQt(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return PathFromQt(dialog.selectedFiles().constFirst());
}

void QtDialogs::SetBusy(bool busy) {
  if (busy) {
    if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
    QApplication::restoreOverrideCursor();
  }
}

void QtDialogs::OpenDocument(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQt(path)));
}

}  // namespace cadenzo
