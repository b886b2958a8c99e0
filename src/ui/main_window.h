// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "ui_main_window.h"

class QComboBox;
class QMenu;
class QTableView;

namespace cadenzo {

class RecordListModel;

// The main window frmCadenzo. It mirrors AppState and forwards every event to the core.
//
// Commands: OnCommand("cmdAdd", handler) connects a button or menu item by objectName; a menu
// item that duplicates a button (mnuAdd, mnuCheckItem, ...) runs the button's handler unless it
// has its own. After every command, and after every list signal below, the window calls
// Refresh(), so handlers only change AppState. Code that changes AppState outside these paths
// (another window's OK, for example) calls Refresh() itself.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(AppState& state, Dialogs& dialogs, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Connects the command of the control with this objectName; a later handler replaces an
  // earlier one. Handlers report their own errors; anything that escapes is reported under the
  // control's name.
  void OnCommand(const QString& objectName, std::function<void()> handler);
  // Runs a control's command as a click on it would, then refreshes.
  void Click(const QString& objectName);

  // Sets up the list's thirteen columns with their initial widths and fits them to header and
  // cells. Errors are reported with "Add Headers".
  void AddHeaders();
  // Shows the state again: rows, selection, sort indicator, list font and grid lines, a column
  // fit the core asked for (PendingColumnFit), enabled and checked states, counts and caption.
  void Refresh();
  // Sets every enabled and checked state and the checked-count label from AppState.
  void UpdateActions();
  void RefreshCaption();
  // Fits the list columns now (AutoSizeColumns on ListView1).
  void FitColumns(ColumnFit fit);
  // The close request: asked before the window closes in any way; false keeps it open.
  void SetCloseRequest(std::function<bool()> request) { closeRequest_ = std::move(request); }

  QTableView* ListView1() const { return ui_.ListView1; }
  QComboBox* cboInst() const { return ui_.cboInst; }
  QMenu* mnuTrackMenu() const { return trackMenu_; }
  RecordListModel* Model() const { return model_; }
  // The window's controls by name, as the form file declares them.
  const Ui::frmCadenzo& Controls() const { return ui_; }

 signals:
  // A row was clicked or moved to with the keyboard (position in the list as shown).
  void RowClicked(int position);
  void RowDoubleClicked(int position);
  // The right mouse button went down over the list (-1: below the rows); mnuTrackMenu pops up
  // at the mouse right after.
  void ListRightButton(int position);
  // The user changed a row's check box; the checked count is already updated.
  void RowCheckChanged(int position);
  // A column header was clicked; the core list is already sorted.
  void ColumnClicked(int column);
  // A Music Finder file was dropped on the window (a local path).
  void FileDropped(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void SetUpList();
  void SetUpPictureButtons();
  void SetUpShortcuts();
  void CollectControls();
  void RunCommand(const QString& objectName);
  void OnRowClicked(int position);
  void OnCheckChanged(int position);
  void OnColumnClicked(int column);
  void OnContextMenu(const QPoint& pos);
  void SyncSelectionFromView();
  void MirrorSelection();
  void ApplyListLook();

  AppState& state_;
  Dialogs& dialogs_;
  Ui::frmCadenzo ui_;
  RecordListModel* model_ = nullptr;
  QMenu* trackMenu_ = nullptr;
  QHash<QString, std::function<void()>> handlers_;
  // True while the window itself changes the view, so its own changes raise no events.
  bool syncing_ = false;
  int appliedFontSize_ = 0;
  // The widths the last fit measured, until the next Refresh: a resize applies them again.
  std::vector<int> fittedWidths_;
  bool fittedHeaderMode_ = false;
  std::function<bool()> closeRequest_;
};

}  // namespace cadenzo
