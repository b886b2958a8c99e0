// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/status_feedback.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>

#include "ui/qt_text.h"

namespace cadenzo {
namespace {

// Work that ends sooner shows no progress bar; a shown bar is repainted at most this often.
constexpr qint64 kShowAfterMs = 300;
constexpr qint64 kRepaintEveryMs = 100;

}  // namespace

QStatusBar* AddStatusBar(QMainWindow& window) {
  auto* bar = new QStatusBar(&window);
  bar->setObjectName(QStringLiteral("statusBar"));
  auto* progress = new QProgressBar(bar);
  progress->setObjectName(QStringLiteral("prgStatus"));
  progress->setMaximumWidth(200);
  progress->setRange(0, 100);
  progress->hide();
  bar->addPermanentWidget(progress);
  window.setStatusBar(bar);
  return bar;
}

StatusDialogs::StatusDialogs(Dialogs& inner, QStatusBar* bar) : inner_(inner), bar_(bar) {
  if (bar_ != nullptr) progress_ = bar_->findChild<QProgressBar*>(QStringLiteral("prgStatus"));
}

void StatusDialogs::Status(const std::string& line) {
  inner_.Status(line);
  if (bar_ != nullptr) bar_->showMessage(ToQt(line));
}

void StatusDialogs::Progress(std::size_t done, std::size_t total) {
  inner_.Progress(done, total);
  if (progress_ == nullptr) return;
  if (done >= total) {
    progress_->hide();
    sinceStart_.invalidate();
    return;
  }
  if (!sinceStart_.isValid() || done == 0) {
    sinceStart_.start();
    sincePaint_.invalidate();
    return;
  }
  if (sinceStart_.elapsed() < kShowAfterMs) return;
  if (sincePaint_.isValid() && sincePaint_.elapsed() < kRepaintEveryMs) return;
  sincePaint_.start();
  progress_->setValue(static_cast<int>(done * 100 / total));
  progress_->show();
  // The bar paints while the work goes on; the person's clicks wait until it is done.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace cadenzo
