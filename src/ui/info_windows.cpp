// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/info_windows.h"

#include "app/report_error.h"
#include "catalogue/style_list_view.h"
#include "ui/program_icon.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace cadenzo {

InfoWindows::InfoWindows(AppState& state, Dialogs& dialogs, DocumentOpener& opener,
                         QWidget* mainWindow)
    : state_(state), dialogs_(dialogs), opener_(opener), mainWindow_(mainWindow) {}

FrmInfo& InfoWindows::Info() {
  if (info_.isNull()) {
    // A child window of the main window, so that it goes when the main window goes.
    info_ = new FrmInfo(dialogs_, mainWindow_);
    info_->setWindowFlag(Qt::Window);
    info_->setWindowIcon(ProgramIcon(state_.AppPath));
  }
  return *info_;
}

void InfoWindows::Present(QWidget& window) {
  if (mainWindow_ != nullptr) {
    ShowToolWindow(window, *mainWindow_);
    return;
  }
  window.show();
  window.raise();
  window.activateWindow();
}

void InfoWindows::ShowInfoFile(const InfoFileView& view, bool asTallAsMain) {
  const auto document = LoadInfoFile(view, dialogs_);
  if (!document) return;
  FrmInfo& info = Info();
  info.ShowDocument(*document, ToQt(view.caption));
  if (asTallAsMain && mainWindow_) info.resize(info.width(), mainWindow_->height());
  Present(info);
}

void InfoWindows::ShowQuickStartGuide() {
  RunReported(dialogs_, "QuickStartGuide",
              [&] { ShowInfoFile(QuickStartGuideView(state_.AppPath), true); });
}

void InfoWindows::OpenManual() {
  RunReported(dialogs_, "Manual", [&] { opener_.OpenDocument(ManualPath(state_.AppPath)); });
}

void InfoWindows::ShowAbout() {
  RunReported(dialogs_, "About", [&] {
    if (about_.isNull()) {
      about_ = new FrmAbout(dialogs_, ProgramIcon(state_.AppPath), mainWindow_);
      about_->setModal(false);
    }
    Present(*about_);
  });
}

void InfoWindows::ShowStyleList() {
  RunReported(dialogs_, "StyleList", [&] {
    const auto document = StyleListView(state_, dialogs_);
    if (!document) return;
    FrmInfo& info = Info();
    info.ShowDocument(*document, ToQt(kStyleListCaption));
    Present(info);
  });
}

void InfoWindows::ShowConversionLog() {
  RunReported(dialogs_, "ConversionLog",
              [&] { ShowInfoFile(ConversionLogView(state_.UserFolder), false); });
}

void InfoWindows::ShowDelimitedFileLog() {
  RunReported(dialogs_, "DelimitedFileLog",
              [&] { ShowInfoFile(ImportLogView(state_.UserFolder), false); });
}

}  // namespace cadenzo
