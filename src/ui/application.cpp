#include "ui/application.h"

#include <QApplication>

#include "app/paths.h"
#include "app/report_error.h"
#include "app/startup.h"
#include "textio/text_file.h"

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
    window_ = std::make_unique<MainWindow>(state_, *dialogs_);
    qtDialogs_.SetParent(window_.get());
    window_->show();

    const std::string commandLine = JoinCommandLine(arguments);
    if (!commandLine.empty()) {
      state_.CommandLineFile = CommandLineFileFrom(commandLine);
      state_.CurrentFilePath = state_.CommandLineFile;
      state_.FileName = NamePartOf(state_.CommandLineFile);
      state_.Caption = FileCaption(state_.FileName);
      window_->RefreshCaption();
      window_->repaint();
    }
  });
}

}  // namespace cadenzo
