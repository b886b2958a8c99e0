// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/recent_files_menu.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QSettings>

#include "ui/qt_text.h"

namespace cadenzo {

namespace {
constexpr char kRecentFilesKey[] = "RecentFiles";
}  // namespace

RecentFilesMenu::RecentFilesMenu(QMainWindow& window, Dialogs& dialogs,
                                 std::function<void(const QString&)> open)
    : QObject(&window), dialogs_(dialogs), open_(std::move(open)) {
  auto* file = window.findChild<QMenu*>(QStringLiteral("mnuFile"));
  auto* openItem = window.findChild<QAction*>(QStringLiteral("mnuOpen"));
  menu_ = new QMenu(QStringLiteral("Open &Recent"),
                    file != nullptr ? static_cast<QWidget*>(file) : &window);
  menu_->setObjectName(QStringLiteral("mnuOpenRecent"));
  if (file != nullptr) {
    const QList<QAction*> items = file->actions();
    const qsizetype at = items.indexOf(openItem);
    QAction* before = at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr;
    file->insertMenu(before, menu_);
  }
  const QStringList stored = QSettings().value(kRecentFilesKey).toStringList();
  for (const QString& path : stored) {
    if (!path.isEmpty() && !paths_.contains(path) && paths_.size() < kMaxFiles) paths_ << path;
  }
  Rebuild();
}

void RecentFilesMenu::Add(const QString& path) {
  if (path.isEmpty()) return;
  const QString full = QFileInfo(path).absoluteFilePath();
  paths_.removeAll(full);
  paths_.prepend(full);
  while (paths_.size() > kMaxFiles) paths_.removeLast();
  Store();
  Rebuild();
}

void RecentFilesMenu::Choose(const QString& path) {
  if (!QFileInfo::exists(path)) {
    paths_.removeAll(path);
    Store();
    Rebuild();
    dialogs_.Message({.text = FromQt(QStringLiteral("The file %1 is no longer there. It has "
                                                    "been removed from the recent files.")
                                         .arg(QDir::toNativeSeparators(path))),
                      .icon = Icon::kExclamation});
    return;
  }
  if (open_) open_(path);
}

void RecentFilesMenu::Rebuild() {
  // The item chosen may be the one running this; items go once control is back in the loop.
  for (QAction* old : menu_->actions()) {
    menu_->removeAction(old);
    old->deleteLater();
  }
  for (int i = 0; i < paths_.size(); ++i) {
    const QString& path = paths_[i];
    // "&1 Songs.mfd": the number is the item's key.
    QAction* item = menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
        QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"))));
    item->setToolTip(QDir::toNativeSeparators(path));
    item->setStatusTip(QDir::toNativeSeparators(path));
    item->setData(path);
    connect(item, &QAction::triggered, this, [this, path] { Choose(path); });
  }
  menu_->setToolTipsVisible(true);
  menu_->setEnabled(!paths_.isEmpty());
}

void RecentFilesMenu::Store() const { QSettings().setValue(kRecentFilesKey, paths_); }

}  // namespace cadenzo
