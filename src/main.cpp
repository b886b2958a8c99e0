#include <QApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/application.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Cadenzo"));

  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);

  cadenzo::Application app;
  const std::string dataFolder =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
  app.Main(arguments, QCoreApplication::applicationDirPath().toStdString(), dataFolder);
  if (app.Window() == nullptr) return 1;

  // CADENZO_SCREENSHOT=path: render the main window, save it as an image and quit.
  if (const char* shot = std::getenv("CADENZO_SCREENSHOT"); shot != nullptr && *shot != '\0') {
    const QString path = QString::fromLocal8Bit(shot);
    QTimer::singleShot(300, [&app, path] {
      const bool ok = app.Window()->grab().save(path);
      std::fprintf(stderr,
                   ok ? "cadenzo: screenshot saved to %s\n"
                      : "cadenzo: could not save the screenshot to %s\n",
                   path.toLocal8Bit().constData());
      QApplication::exit(ok ? 0 : 1);
    });
  }
  return QApplication::exec();
}
