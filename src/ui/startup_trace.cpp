// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/startup_trace.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/trace.h"

namespace cadenzo {

namespace {

QElapsedTimer& Clock() {
  static QElapsedTimer clock;
  return clock;
}

void PrintStage(std::string_view stage) {
  const double ms = static_cast<double>(Clock().nsecsElapsed()) / 1e6;
  std::fprintf(stderr, "cadenzo trace %9.3f ms  %.*s\n", ms, static_cast<int>(stage.size()),
               stage.data());
}

// Marks the first paint once it has completed, then ends the trace.
class FirstPaintMark : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, this, [this] {
        TraceStage("first paint of the list");
        SetTraceSink(nullptr);
        deleteLater();
      });
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void StartStartupTrace() {
  const char* trace = std::getenv("CADENZO_TRACE");
  if (trace == nullptr || std::strcmp(trace, "1") != 0) return;
  Clock().start();
  SetTraceSink(&PrintStage);
  TraceStage("process start (main entered)");
}

void TraceFirstPaint(QWidget* watched) {
  if (!Clock().isValid() || watched == nullptr) return;
  watched->installEventFilter(new FirstPaintMark(watched));
}

}  // namespace cadenzo
