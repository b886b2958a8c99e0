// The floor of the window's start-up: an empty main window with an empty table view, shown
// offscreen or on screen, that quits once the table has painted. Timed against
// CADENZO_QUIT_AFTER_PAINT=1 cadenzo FILE.mfd.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTableView>
#include <QTimer>

namespace {

class QuitAfterPaint : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
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
  QMainWindow window;
  auto* table = new QTableView(&window);
  window.setCentralWidget(table);
  window.resize(1100, 700);  // the main window's size
  table->viewport()->installEventFilter(new QuitAfterPaint(table->viewport()));
  window.show();
  return QApplication::exec();
}
