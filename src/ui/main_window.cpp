#include "ui/main_window.h"

#include "ui/qt_text.h"

namespace cadenzo {

MainWindow::MainWindow(AppState& state, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), state_(state), dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmCadenzo"));
  resize(1000, 640);
  state_.FileSaved = true;
  RefreshCaption();
}

void MainWindow::RefreshCaption() { setWindowTitle(ToQt(state_.Caption)); }

}  // namespace cadenzo
