// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "playlist/play_list.h"

namespace Ui {
class frmPlayList;
}

namespace cadenzo {

class PlayListModel;

// The play-list window frmPlayList: its own list ListView1 over the core PlayList, the position
// and comment buttons, the layouts, the exports and the print preview. It lives until "Exit";
// the close box is refused.
class PlayListWindow : public QMainWindow {
  Q_OBJECT

 public:
  PlayListWindow(AppState& state, Dialogs& dialogs, QWidget* parent = nullptr);
  ~PlayListWindow() override;

  const PlayList& List() const { return list_; }
  // True while the window shows the play list of this state and has not been discarded by Exit.
  bool Serves(const AppState& state) const { return &state == &state_ && !exiting_; }

  // Appends the rows checked in the main list since the last time (the window's activation).
  void Form_Activate();
  // Prints the list straight to a PDF file, as the preview would print it. Throws RuntimeError.
  void PrintToPdf(const QString& path);
  // The program ends (File > Exit of the main window, after its unsaved-changes question): the
  // window closes as its own Exit would, without the close-box refusal.
  void CloseWithProgram();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Refresh();
  void AutoSizeColumns();
  void ChooseLayout(PlayListLayout layout);
  // The check marks of the layout items and the buttons the layout allows.
  void ShowLayout();
  void mnuPrint_Click();
  void mnuExit_Click();
  void OnCurrentRowChanged(int row);

  AppState& state_;
  Dialogs& dialogs_;
  PlayList list_;
  std::unique_ptr<Ui::frmPlayList> ui_;
  PlayListModel* model_ = nullptr;
  bool refreshing_ = false;
  bool exiting_ = false;
  bool awayInDialog_ = false;
};

// Opens the play list from the main window's "PlayList" button or "&Add to Play List" menu and
// from the search window's "Open in PlayList": scans the main list for a checked row (showing the
// message when there is none) and shows frmPlayList modeless, creating it the first time as a
// child window of the top-level window above parent; every later caller finds the same one.
// Returns the window, or null when it did not open. The caller refreshes its own cmdPlayList from
// CommandAvailability(state) afterwards.
PlayListWindow* OpenPlayList(QWidget* parent, AppState& state, Dialogs& dialogs);

}  // namespace cadenzo
