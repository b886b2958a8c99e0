// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/user_styles_menus.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QMenu>
#include <QTableView>
#include <memory>

#include "app/paths.h"
#include "list/duplicates.h"
#include "mfd/target_change.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

namespace cadenzo {
namespace {

QAction* AddAction(MainWindow& window, const char* menuName, const char* objectName,
                   const QString& text) {
  auto* menu = window.findChild<QMenu*>(QString::fromLatin1(menuName));
  auto* action = new QAction(text, menu != nullptr ? static_cast<QObject*>(menu) : &window);
  action->setObjectName(QString::fromLatin1(objectName));
  if (menu != nullptr) menu->addAction(action);
  return action;
}

}  // namespace

std::function<bool(const QUrl&)>& StyleFolderUrlOpener() {
  static std::function<bool(const QUrl&)> opener = [](const QUrl& url) {
    return QDesktopServices::openUrl(url);
  };
  return opener;
}

void AddStyleFolderCommand(MainWindow& window, const AppState& state, Dialogs& dialogs) {
  QAction* open =
      AddAction(window, "mnuOption", "mnuOpenStyleFolder", QStringLiteral("&Open Style Folder"));
  window.OnCommand(open->objectName(), [&state, &dialogs] {
    const Result<std::string> folder = MakeUserStylesFolder(state);
    Present(folder.outcome, dialogs);
    if (folder.outcome.Ok()) StyleFolderUrlOpener()(QUrl::fromLocalFile(PathToQt(folder.value)));
  });
  QObject::connect(open, &QAction::triggered, &window,
                   [&window, name = open->objectName()] { window.Click(name); });
}

void ShowTargetStyleListNote(MainWindow& window, const AppState& state) {
  const auto note = TargetStyleListNote(state);
  window.cboInst()->setToolTip(note ? ToQt(*note) : QString());
}

void AddFindDuplicatesCommands(MainWindow& window, AppState& state, Dialogs& dialogs) {
  if (auto* menu = window.findChild<QMenu*>(QStringLiteral("mnuActions"))) menu->addSeparator();
  QAction* find =
      AddAction(window, "mnuActions", "mnuFindDuplicates", QStringLiteral("Find &Duplicates"));
  QAction* songOnly = AddAction(window, "mnuActions", "mnuDuplicatesSongOnly",
                                QStringLiteral("Compare Song &Names Only"));
  songOnly->setCheckable(true);
  songOnly->setChecked(false);
  // The row to show once the window has drawn the new check marks.
  auto firstChecked = std::make_shared<int>(-1);
  window.OnCommand(find->objectName(), [&window, &state, &dialogs, songOnly, firstChecked] {
    const Result<int> result =
        FindDuplicates(state, DuplicateOptions{.songOnly = songOnly->isChecked()});
    Present(result.outcome, dialogs);  // the status line reaches the window's status bar
    *firstChecked = result.value;
  });
  QObject::connect(find, &QAction::triggered, &window,
                   [&window, name = find->objectName(), firstChecked] {
                     *firstChecked = -1;
                     window.Click(name);
                     if (*firstChecked < 0) return;
                     QTableView* view = window.ListView1();
                     view->scrollTo(view->model()->index(*firstChecked, 0));
                   });
}

}  // namespace cadenzo
