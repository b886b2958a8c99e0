// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

#include "app/dialogs.h"

class QMenu;
class QMainWindow;

namespace cadenzo {

// File > Open Recent: the last files opened, most recent first, kept between runs in the
// program's settings. Choosing one runs `open` with its path; a file that has gone is taken off
// the list with a message instead.
class RecentFilesMenu : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMaxFiles = 8;

  // Inserts the submenu mnuOpenRecent after mnuOpen in the window's File menu and fills it from
  // the settings.
  RecentFilesMenu(QMainWindow& window, Dialogs& dialogs, std::function<void(const QString&)> open);

  // A file was opened: it goes to the top (once), the oldest beyond eight goes, and the list is
  // stored at once.
  void Add(const QString& path);
  const QStringList& Paths() const { return paths_; }
  QMenu* Menu() const { return menu_; }

 private:
  void Choose(const QString& path);
  void Rebuild();
  void Store() const;

  Dialogs& dialogs_;
  std::function<void(const QString&)> open_;
  QMenu* menu_ = nullptr;
  QStringList paths_;
};

}  // namespace cadenzo
