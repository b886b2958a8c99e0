// SPDX-License-Identifier: GPL-3.0-or-later
// Takes a picture of the program's windows, offscreen, after a few scripted steps: the pictures
// of the manual and the README, and the window checks of the package and session tests.
//   cadenzo-screenshot PICTURE [--window NAME] [--steps STEP;STEP...] [ARGUMENT...]
// The program starts as `cadenzo ARGUMENT...` does, from the folder of this executable.
#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/application.h"

namespace {

// One step, as --steps writes it: "target=MODEL" chooses the target instrument, "row=N" clicks
// the Nth row as shown (from 0), "click=NAME" runs the command of the control or menu item NAME,
// "move=X,Y" moves the main window.
// Unknown steps are reported and skipped.
void RunStep(cadenzo::Application& app, const QString& step) {
  const QString what = step.section(QLatin1Char('='), 0, 0).trimmed();
  const QString value = step.section(QLatin1Char('='), 1).trimmed();
  cadenzo::MainWindow* window = app.Window();
  if (what == QLatin1String("target")) {
    QComboBox* combo = window->cboInst();
    const int index = combo->findText(value, Qt::MatchExactly);
    if (index >= 0) {
      combo->setCurrentIndex(index);
      emit combo->activated(index);
      return;
    }
  } else if (what == QLatin1String("row")) {
    QTableView* view = window->ListView1();
    const QModelIndex index = view->model()->index(value.toInt(), 0);
    if (index.isValid()) {
      view->selectionModel()->setCurrentIndex(
          index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
      emit view->clicked(index);
      return;
    }
  } else if (what == QLatin1String("click")) {
    window->Click(value);
    return;
  } else if (what == QLatin1String("move")) {
    const QStringList xy = value.split(QLatin1Char(','));
    if (xy.size() == 2) {
      window->move(xy[0].toInt(), xy[1].toInt());
      return;
    }
  }
  std::fprintf(stderr, "cadenzo-screenshot: step \"%s\" skipped\n", qPrintable(step));
}

// The visible window with this objectName; the main window when the name is empty or unknown.
QWidget* WindowNamed(cadenzo::Application& app, const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!name.isEmpty() && w->objectName() == name && w->isVisible()) return w;
  }
  return app.Window();
}

// The desktop as the user sees it: the main window with every other visible window of the
// program drawn over it at its place (centred over it when the window has no place of its own).
QPixmap GrabDesktop(cadenzo::Application& app) {
  QWidget* main = app.Window();
  QPixmap canvas = main->grab();
  QPainter painter(&canvas);
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w == main || !w->isVisible() || !w->isWindow() || w->inherits("QMenu")) continue;
    const QPixmap picture = w->grab();
    QPoint at = w->geometry().topLeft() - main->geometry().topLeft();
    if (at == QPoint(0, 0))
      at = QRect(QPoint(), canvas.deviceIndependentSize().toSize()).center() -
           QRect(QPoint(), w->size()).center();
    painter.drawPixmap(at, picture);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawRect(QRect(at, w->size()).adjusted(0, 0, -1, -1));
  }
  return canvas;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Cadenzo"));
  QGuiApplication::setDesktopFileName(QStringLiteral("cadenzo"));

  // The picture, the window (an objectName; empty: the main window; "*": every visible window
  // over the main window; "screen": the whole screen) and the steps; everything else goes to the
  // program.
  QString path;
  QString windowName;
  QStringList steps;
  std::vector<std::string> arguments;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--window") && i + 1 < args.size()) {
      windowName = args[++i];
    } else if (args[i] == QLatin1String("--steps") && i + 1 < args.size()) {
      steps = args[++i].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    } else if (path.isEmpty()) {
      path = args[i];
    } else {
      arguments.push_back(args[i].toLocal8Bit().toStdString());
    }
  }
  if (path.isEmpty()) {
    std::fprintf(stderr,
                 "usage: cadenzo-screenshot PICTURE [--window NAME] [--steps STEP;STEP...] "
                 "[ARGUMENT...]\n");
    return 2;
  }

  cadenzo::Application app;
  const std::string dataFolder =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
  app.Main(arguments, QCoreApplication::applicationDirPath().toStdString(), dataFolder);
  if (app.Window() == nullptr) return 1;

  int delay = 300;
  for (const QString& step : steps) {
    QTimer::singleShot(delay, [&app, step] { RunStep(app, step); });
    delay += 200;
  }
  QTimer::singleShot(delay + 200, [&app, path, windowName] {
    QWidget* window = WindowNamed(app, windowName);
    // "screen": the whole screen as the window system shows it, window frames included.
    const QPixmap picture = windowName == QLatin1String("screen")
                                ? QGuiApplication::primaryScreen()->grabWindow(0)
                            : windowName == QLatin1String("*") ? GrabDesktop(app)
                                                               : window->grab();
    const bool ok = picture.save(path);
    std::fprintf(stderr,
                 ok ? "cadenzo-screenshot: saved to %s (window \"%s\")\n"
                    : "cadenzo-screenshot: could not save to %s (window \"%s\")\n",
                 path.toLocal8Bit().constData(), window->windowTitle().toUtf8().constData());
    QApplication::exit(ok ? 0 : 1);
  });
  return QApplication::exec();
}
