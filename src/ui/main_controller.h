// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/paths.h"
#include "list/row_commands.h"
#include "ui/status_feedback.h"

namespace cadenzo {

class MainWindow;
class ConvertWindow;
class MidiConnection;
class RecentFilesMenu;
class EditWindow;
class InfoWindows;
class SearchWindow;

// Connects the main window's controls to the core's commands and opens the other windows.
class MainController : public QObject {
  Q_OBJECT

 public:
  MainController(AppState& state, Dialogs& dialogs, DocumentOpener& opener, MainWindow& window);
  ~MainController() override;

  // Fills cboInst with the 41 models in table order, nothing selected.
  void SetupCboInst();
  // The open procedure for the path in CurrentFilePath, then the window refreshed.
  void OpenCurrentFile();
  // The main window's close request: true = close.
  bool QueryUnload();

  // Prepares the record editor's state before the first file is read; its window is built the
  // first time it is needed (Editor()).
  void LoadEditorWindow();
  // The record editor, built hidden on first use.
  EditWindow* Editor();
  RecentFilesMenu* RecentFiles() const { return recent_; }

  // Shows the Save As Options window; modal when asked before closing.
  void ShowConvertWindow(bool modal);

 private:
  void Connect();
  // The commands of the File, Setup and Options menus and the instrument link.
  void ConnectFileCommands();
  // Row clicks, the flags and check marks, and the edit commands.
  void ConnectRowCommands();
  // Search, import, the information windows, the play list and the target list.
  void ConnectToolWindows();
  // After a command that may have read a file or changed the target: the target list follows
  // TargetInstrument, the columns are fitted, the focus goes where the core asked.
  void AfterFileCommand();
  void SyncTargetList();
  // A command that may have opened a file (`requested`, when known) has run: an opened file goes
  // to the top of File > Open Recent.
  void NoteOpenedFile(const Outcome& outcome, const std::string& before,
                      const std::string& requested = {});

  AppState& state_;
  // The dialogs given, with the status bar: every command below is asked through it.
  StatusDialogs feedback_;
  Dialogs& dialogs_;
  DocumentOpener& opener_;
  MainWindow& window_;
  // The instrument link, made on first use (it asks the system for its MIDI outputs).
  MidiConnection& Midi();

  // Runs a row command and applies the refit or the Modify it asks for.
  void ApplyRowResult(const Result<RowCommandResult>& result);
  // The editor follows the state when it is open.
  void RefreshEditor();
  // Edit > Undo (forward false) or Redo: takes back or does again one step, then shows the state.
  void StepThroughHistory(bool forward);
  // File > Merge: appends another file's records, checks them and shows the first.
  void MergeFile();

  QPointer<ConvertWindow> convert_;
  QPointer<SearchWindow> search_;
  EditWindow* editor_ = nullptr;  // owned by the main window; built by Editor()
  std::unique_ptr<InfoWindows> info_;
  std::unique_ptr<MidiConnection> midi_;
  RecentFilesMenu* recent_ = nullptr;  // owned by the main window
};

}  // namespace cadenzo
