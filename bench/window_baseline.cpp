// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the window's start-up: an empty main window with an empty table view, shown
// offscreen or on screen, that quits once the table has painted. Timed against
// CADENZO_QUIT_AFTER_PAINT=1 cadenzo FILE.mfd.
#include <QApplication>
#include <QMainWindow>
#include <QTableView>

#include "ui/quit_after_paint.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QMainWindow window;
  auto* table = new QTableView(&window);
  window.setCentralWidget(table);
  window.resize(1100, 700);  // the main window's size
  table->viewport()->installEventFilter(new cadenzo::QuitAfterPaint(table->viewport()));
  window.show();
  return QApplication::exec();
}
