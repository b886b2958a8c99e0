#pragma once

#include <QMainWindow>

#include "app/app_state.h"
#include "app/dialogs.h"

namespace cadenzo {

// The main window frmCadenzo. It mirrors AppState and forwards every event to the core.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(AppState& state, Dialogs& dialogs, QWidget* parent = nullptr);

  // Sets the window caption from the state.
  void RefreshCaption();

 private:
  AppState& state_;
  Dialogs& dialogs_;
};

}  // namespace cadenzo
