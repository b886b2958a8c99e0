// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/application.h"

#include <QApplication>

#include "app/paths.h"
#include "app/report_error.h"
#include "app/startup.h"
#include "app/trace.h"
#include "textio/text_file.h"
#include "ui/window_placement.h"

namespace cadenzo {

Application::Application() = default;
Application::~Application() = default;

bool Application::Main(const std::vector<std::string>& arguments,
                       const std::string& executableFolder, const std::string& userDataFolder) {
  return RunReported(*dialogs_, "Main", [&] {
    ResetStartState(state_);
    state_.AppPath = GetAppPath(executableFolder);
    state_.UserFolder =
        GetUserFolder(userDataFolder, "Cadenzo", WithTrailingSlash(executableFolder), *dialogs_);
    // Creating the main window loads it (list font, FileSaved, command buttons enabled).
    window_ = std::make_unique<MainWindow>(state_, *dialogs_);
    TraceStage("main window built");
    qtDialogs_.SetParent(window_.get());
    controller_ = new MainController(state_, *dialogs_, qtDialogs_, *window_);
    window_->SetCloseRequest([this] {
      if (!controller_->QueryUnload()) return false;
      StoreMainWindowGeometry(*window_);
      return true;
    });
    window_->AddHeaders();
    SetupCboInst();
    RestoreMainWindowGeometry(*window_);
    window_->show();
    TraceStage("main window shown");
    LoadEditorWindow();

    const std::string commandLine = JoinCommandLine(arguments);
    if (!commandLine.empty()) {
      state_.CommandLineFile = CommandLineFileFrom(commandLine);
      state_.CurrentFilePath = state_.CommandLineFile;
      state_.Caption.clear();
      window_->RefreshCaption();
      state_.FileName = NamePartOf(state_.CommandLineFile);
      state_.Caption = FileCaption(state_.FileName);
      window_->RefreshCaption();
      window_->repaint();
      OpenCommandLineFile();
    }
  });
}

// Start-up steps whose windows and procedures come with the target list, the record editor and
// the open procedure; each is called at its place in the order above.
void Application::SetupCboInst() { controller_->SetupCboInst(); }
void Application::LoadEditorWindow() { controller_->LoadEditorWindow(); }
void Application::OpenCommandLineFile() { controller_->OpenCurrentFile(); }

}  // namespace cadenzo
