// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "editing/media_reference.h"
#include "ui_edit_window.h"

namespace cadenzo {

// The record editor frmEdit "Data Enter/Edit": modeless, hidden rather than destroyed, so its
// controls keep their state for the run. It mirrors AppState::Editor and forwards every event to
// the editing core.
class EditWindow : public QDialog {
  Q_OBJECT

 public:
  // Loads the editor (hidden) with the section items, mirroring the editor's state, which
  // PrepareEditor set up at start-up ("Off" selected, no media file).
  EditWindow(AppState& state, Dialogs& dialogs, QWidget* parent);

  // Called after OK changed the list: the main window refreshes its rows, fits its columns and,
  // for a record just added (record > 0), scrolls it into view.
  void SetListChangedCallback(std::function<void(int record)> callback);
  // Where a chosen media file's volume is mounted; the default asks the file system.
  void SetVolumeRootOf(VolumeRootOf volumeRootOf);

  // cmdAdd and mnuAdd of the main window: prepares the editor for a new record and shows it.
  void StartAddRecord();
  // cmdModify, mnuModify and the double click in edit mode: prepares the editor for the selected
  // record and shows it.
  void StartModifyRecord();

  // Refills the genre and style lists from AppState::Editor and mirrors every control. Call it
  // after the state changed behind the window (a row click, a new file, a new target).
  void RefreshFromState();
  // Shows the window modeless, with the media controls of the current target.
  void ShowEditor();

 protected:
  void reject() override;  // Escape and the close box: as Cancel
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Connect();
  void Mirror();
  void FillLists();
  // Runs the leave-the-box check of the control that has the focus, as leaving it would.
  bool ValidateFocused();
  bool ValidateTempo();
  void OnOk();
  void OnBrowse(bool hd);

  AppState& state_;
  Dialogs& dialogs_;
  Ui::frmEdit ui_;
  std::function<void(int)> listChanged_;
  VolumeRootOf volumeRootOf_;
  bool validating_ = false;
};

}  // namespace cadenzo
