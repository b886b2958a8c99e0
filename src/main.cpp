// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QStandardPaths>
#include <QTableView>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/trace.h"
#include "ui/application.h"
#include "ui/quit_after_paint.h"
#include "ui/startup_trace.h"

int main(int argc, char** argv) {
  cadenzo::StartStartupTrace();
  QApplication qtApp(argc, argv);
  cadenzo::TraceStage("Qt application made");
  // The settings (recent files, the main window's place) live under these names.
  QApplication::setOrganizationName(QStringLiteral("Cadenzo"));
  QApplication::setApplicationName(QStringLiteral("Cadenzo"));
  // The desktop entry that starts the program, for the window's icon and name on the desktop.
  QGuiApplication::setDesktopFileName(QStringLiteral("cadenzo"));

  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);

  cadenzo::Application app;
  const std::string dataFolder =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
  app.Main(arguments, QCoreApplication::applicationDirPath().toStdString(), dataFolder);
  if (app.Window() == nullptr) return 1;

  // CADENZO_QUIT_AFTER_PAINT=1: quit right after the list's first paint (start-up timing).
  if (const char* quit = std::getenv("CADENZO_QUIT_AFTER_PAINT");
      quit != nullptr && std::string(quit) == "1") {
    QWidget* viewport = app.Window()->ListView1()->viewport();
    viewport->installEventFilter(new cadenzo::QuitAfterPaint(viewport));
    viewport->update();  // a paint is due even if start-up painted the list already
  }
  // After the quit's filter, so that the stage is written before the program ends.
  cadenzo::TraceFirstPaint(app.Window()->ListView1()->viewport());
  return QApplication::exec();
}
