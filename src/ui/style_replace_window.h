// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "mfd/bulk_replace.h"
#include "ui_style_replace_window.h"

namespace cadenzo {

// The replace window frmStyleReplace: replaces a style, a genre or a keyword in every record.
// Not modal; it is released when closed.
class StyleReplaceWindow : public QWidget {
  Q_OBJECT

 public:
  // onReplaced asks the main window to show the list again and fit its columns.
  StyleReplaceWindow(AppState& state, Dialogs& dialogs, std::function<void()> onReplaced,
                     QWidget* parent = nullptr);

  // cmdReplaceStyle and mnuReplaceItem: opens and shows a new window, or shows the program's
  // message and gives nullptr when no row was selected since the file was opened. The shell
  // clears the editor's selected-file label when a window is given.
  static StyleReplaceWindow* Open(AppState& state, Dialogs& dialogs,
                                  std::function<void()> onReplaced, QWidget* parent);

  const Ui::frmStyleReplace& Controls() const { return ui_; }
  // The values "Replace All Entries" hands to the replacement.
  StyleReplaceValues Values() const;

 private:
  void UpdateActions();
  void AllEntries();
  void GenreEdited();

  AppState& state_;
  Dialogs& dialogs_;
  std::function<void()> onReplaced_;
  Ui::frmStyleReplace ui_;
  std::vector<std::string> genres_;
};

}  // namespace cadenzo
