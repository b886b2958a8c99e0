// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "ui/main_controller.h"
#include "ui/main_window.h"
#include "ui/qt_dialogs.h"

namespace cadenzo {

// Owns the shared state, the dialogs and the windows for one run of the program.
class Application {
 public:
  Application();
  ~Application();

  // Start-up in its established order; arguments are the program's arguments without argv[0].
  // Returns false when start-up failed before the main window was shown.
  bool Main(const std::vector<std::string>& arguments, const std::string& executableFolder,
            const std::string& userDataFolder);

  AppState& State() { return state_; }
  MainWindow* Window() { return window_.get(); }
  MainController* Controller() { return controller_; }
  QtDialogs& QtDialogsImpl() { return qtDialogs_; }

  // Dialogs the windows use; tests replace them with a scripted double.
  void SetDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }

 private:
  // Fills the target instrument list cboInst of the main window.
  void SetupCboInst();
  // Prepares the record editor frmEdit's state before the first file is read; its window is built
  // when first needed.
  void LoadEditorWindow();
  // Opens CommandLineFile with the open procedure.
  void OpenCommandLineFile();

  AppState state_;
  QtDialogs qtDialogs_;
  Dialogs* dialogs_ = &qtDialogs_;
  std::unique_ptr<MainWindow> window_;
  MainController* controller_ = nullptr;  // owned by the window
};

}  // namespace cadenzo
