#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/paths.h"

namespace cadenzo {

class MainWindow;
class ConvertWindow;
class MidiConnection;

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

  // Shows the Save As Options window; modal when asked before closing.
  void ShowConvertWindow(bool modal);

 private:
  void Connect();
  // After a command that may have read a file or changed the target: the target list follows
  // TargetInstrument, the columns are fitted, the focus goes where the core asked.
  void AfterFileCommand();
  void SyncTargetList();

  AppState& state_;
  Dialogs& dialogs_;
  DocumentOpener& opener_;
  MainWindow& window_;
  // The instrument link, made on first use (it asks the system for its MIDI outputs).
  MidiConnection& Midi();

  QPointer<ConvertWindow> convert_;
  std::unique_ptr<MidiConnection> midi_;
};

}  // namespace cadenzo
