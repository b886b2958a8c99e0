#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/application.h"

namespace {

// Quits the program once the watched widget has finished its first paint. Start-up opens a file
// named on the command line before the event loop runs, so that paint shows its rows.
class QuitAfterPaint : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      // Queued: the paint itself completes first.
      QTimer::singleShot(0, qApp, [] { QApplication::exit(0); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool seen_ = false;
};

}  // namespace

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
  // CADENZO_QUIT_AFTER_PAINT=1: quit right after the list's first paint (start-up timing).
  if (const char* quit = std::getenv("CADENZO_QUIT_AFTER_PAINT");
      quit != nullptr && std::string(quit) == "1") {
    QWidget* viewport = app.Window()->ListView1()->viewport();
    viewport->installEventFilter(new QuitAfterPaint(viewport));
    viewport->update();  // a paint is due even if start-up painted the list already
  }
  return QApplication::exec();
}
