// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/menu_additions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/undo_history.h"
#include "ui/qt_text.h"

namespace cadenzo {

void AddEditMenu(QMainWindow& window) {
  QMenuBar* bar = window.menuBar();
  auto* edit = new QMenu(QStringLiteral("&Edit"), bar);
  edit->setObjectName(QStringLiteral("mnuEdit"));
  // After File: the menu bar's second entry.
  const QList<QAction*> entries = bar->actions();
  bar->insertMenu(entries.size() > 1 ? entries[1] : nullptr, edit);

  auto* undo = edit->addAction(QStringLiteral("Undo"));
  undo->setObjectName(QStringLiteral("mnuUndo"));
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  auto* redo = edit->addAction(QStringLiteral("Redo"));
  redo->setObjectName(QStringLiteral("mnuRedo"));
  redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  undo->setEnabled(false);
  redo->setEnabled(false);
}

void AddMergeItem(QMainWindow& window) {
  auto* file = window.findChild<QMenu*>(QStringLiteral("mnuFile"));
  auto* save = window.findChild<QMenu*>(QStringLiteral("mnuSave"));
  if (file == nullptr) return;
  auto* merge = new QAction(QStringLiteral("&Merge..."), file);
  merge->setObjectName(QStringLiteral("mnuMerge"));
  merge->setStatusTip(QStringLiteral("Append the records of another Music Finder file"));
  // Before Save As, so that it follows Open and Open Recent.
  file->insertAction(save != nullptr ? save->menuAction() : nullptr, merge);
}

void ShowUndoSteps(QMainWindow& window, const UndoHistory& history) {
  const auto show = [&](const char* name, const QString& verb, const std::string& step) {
    auto* action = window.findChild<QAction*>(QString::fromLatin1(name));
    if (action == nullptr) return;
    action->setText(step.empty() ? verb : verb + QLatin1Char(' ') + ToQt(step));
    action->setEnabled(!step.empty());
  };
  show("mnuUndo", QStringLiteral("Undo"), history.UndoName());
  show("mnuRedo", QStringLiteral("Redo"), history.RedoName());
}

}  // namespace cadenzo
