// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/paths.h"
#include "textio/info_views.h"
#include "ui/about_box.h"
#include "ui/info_window.h"

namespace cadenzo {

// The commands of the main window's "&Help/Info" and "&View" menus that show the information
// window frmInfo or the About box frmAbout. Both windows are created on first use; frmInfo is
// discarded by its Exit, frmAbout by its OK.
class InfoWindows {
 public:
  InfoWindows(AppState& state, Dialogs& dialogs, DocumentOpener& opener, QWidget* mainWindow);

  // mnuQuickStartGuide: the guide from the application folder, as tall as the main window.
  void ShowQuickStartGuide();
  // mnuManual: the manual opened with the desktop's viewer; nothing is said if that fails.
  void OpenManual();
  // mnuAbout: the About box, modeless.
  void ShowAbout();
  // mnuStyleList: the target instrument's styles.
  void ShowStyleList();
  // mnuConversion: the conversion log.
  void ShowConversionLog();
  // mnuDelimitedFile: the log of the lines the last import left out.
  void ShowDelimitedFileLog();

  // The open windows, or nullptr.
  FrmInfo* InfoWindow() const { return info_; }
  FrmAbout* AboutBox() const { return about_; }

 private:
  FrmInfo& Info();
  void ShowInfoFile(const InfoFileView& view, bool asTallAsMain);
  void Present(QWidget& window);

  AppState& state_;
  Dialogs& dialogs_;
  DocumentOpener& opener_;
  QPointer<QWidget> mainWindow_;
  QPointer<FrmInfo> info_;
  QPointer<FrmAbout> about_;
};

}  // namespace cadenzo
