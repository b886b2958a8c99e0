// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

namespace cadenzo {

// Quits the program once the watched widget has finished its first paint: the end point of the
// start-up measurements. Start-up opens a file named on the command line before the event loop
// runs, so that paint shows its rows.
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

}  // namespace cadenzo
