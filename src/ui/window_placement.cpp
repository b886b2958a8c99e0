// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_placement.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace cadenzo {

namespace {

constexpr char kPlacedProperty[] = "cadenzoPlaced";
constexpr char kPositionKey[] = "MainWindow/position";
constexpr char kSizeKey[] = "MainWindow/size";

// Where each tool window was last left in this run, by objectName, for windows that are made
// afresh each time they open.
QHash<QString, QPoint>& LastPlaces() {
  static QHash<QString, QPoint> places;
  return places;
}

// Notes where the user leaves a tool window when it hides or closes.
class PlaceKeeper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide) {
      const auto* widget = static_cast<const QWidget*>(watched);
      LastPlaces().insert(widget->objectName(), widget->pos());
    }
    return false;
  }
};

QRect AvailableFor(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

QRect AvailableAt(const QPoint& point) {
  const QScreen* screen = QGuiApplication::screenAt(point);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

// The first spot, in the order given, where a frame of this size lies inside `available` and
// meets none of `blocked`; the top is moved up or down into the screen as needed.
std::optional<QPoint> FirstFree(const std::vector<QPoint>& spots, const QSize& frame,
                                const QList<QRect>& blocked, const QRect& available) {
  for (QPoint spot : spots) {
    spot.setY(std::clamp(spot.y(), available.top(),
                         std::max(available.top(), available.bottom() + 1 - frame.height())));
    const QRect rect(spot, frame);
    if (!available.contains(rect)) continue;
    if (std::none_of(blocked.begin(), blocked.end(),
                     [&](const QRect& b) { return b.intersects(rect); })) {
      return spot;
    }
  }
  return std::nullopt;
}

}  // namespace

QRect KeptInside(QRect rect, const QRect& available) {
  if (available.isEmpty()) return rect;
  rect.setWidth(std::min(rect.width(), available.width()));
  rect.setHeight(std::min(rect.height(), available.height()));
  rect.moveLeft(std::clamp(rect.left(), available.left(), available.right() + 1 - rect.width()));
  rect.moveTop(std::clamp(rect.top(), available.top(), available.bottom() + 1 - rect.height()));
  return rect;
}

QPoint PlaceBeside(const QSize& frame, const QRect& mainFrame, const QList<QRect>& others,
                   const QRect& available) {
  // Spots at the main window's top and below every other tool window, in columns that start at
  // the main window's side or at another tool window's side: nearest first.
  std::vector<int> tops = {mainFrame.top()};
  for (const QRect& other : others) tops.push_back(other.bottom() + 1);
  std::sort(tops.begin(), tops.end());
  std::vector<int> rightColumns = {mainFrame.right() + 1};
  std::vector<int> leftColumns = {mainFrame.left() - frame.width()};
  for (const QRect& other : others) {
    if (other.left() > mainFrame.right()) rightColumns.push_back(other.right() + 1);
    if (other.right() < mainFrame.left()) leftColumns.push_back(other.left() - frame.width());
  }
  std::sort(rightColumns.begin(), rightColumns.end());
  std::sort(leftColumns.begin(), leftColumns.end(), std::greater<>());
  std::vector<QPoint> right;
  std::vector<QPoint> left;
  for (int x : rightColumns) {
    for (int y : tops) right.emplace_back(x, y);
  }
  for (int x : leftColumns) {
    for (int y : tops) left.emplace_back(x, y);
  }

  QList<QRect> blocked = others;
  blocked.prepend(mainFrame);
  for (const auto* spots : {&right, &left}) {
    if (const auto spot = FirstFree(*spots, frame, blocked, available)) return *spot;
  }
  // Beside the main window over another tool window rather than over the main window.
  for (const auto* spots : {&right, &left}) {
    if (const auto spot = FirstFree(*spots, frame, {mainFrame}, available)) return *spot;
  }
  // No room beside it: over the main window at its right edge.
  return KeptInside(QRect(QPoint(mainFrame.right() + 1 - frame.width(), mainFrame.top()), frame),
                    available)
      .topLeft();
}

void ShowToolWindow(QWidget& tool, const QWidget& main) {
  if (!tool.property(kPlacedProperty).toBool()) {
    tool.setProperty(kPlacedProperty, true);
    tool.installEventFilter(new PlaceKeeper(&tool));
    if (!tool.testAttribute(Qt::WA_Resized)) tool.adjustSize();
    const QRect available = AvailableFor(main);
    const auto last = LastPlaces().constFind(tool.objectName());
    if (last != LastPlaces().constEnd()) {
      tool.move(KeptInside(QRect(*last, tool.size()), AvailableAt(*last)).topLeft());
    } else {
      // Tool windows carry the same decorations as the main window.
      const QSize decorations = main.frameGeometry().size() - main.geometry().size();
      QSize frame = tool.size() + decorations;
      if (!available.isEmpty()) {
        frame = frame.boundedTo(available.size());
        tool.resize(frame - decorations);
      }
      QList<QRect> others;
      for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w == &tool || w == &main || !w->isVisible()) continue;
        if (w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip) continue;
        others << w->frameGeometry();
      }
      tool.move(available.isEmpty() ? main.pos()
                                    : PlaceBeside(frame, main.frameGeometry(), others, available));
    }
  }
  tool.show();
  tool.raise();
  tool.activateWindow();
}

void RestoreMainWindowGeometry(QWidget& main) {
  const QSettings settings;
  const QVariant position = settings.value(kPositionKey);
  const QVariant size = settings.value(kSizeKey);
  if (!position.isValid() || !size.isValid()) return;
  const QRect stored(position.toPoint(), size.toSize());
  if (stored.isEmpty()) return;
  const QRect kept = KeptInside(stored, AvailableAt(stored.center()));
  main.resize(kept.size());
  main.move(kept.topLeft());
}

void StoreMainWindowGeometry(const QWidget& main) {
  QSettings settings;
  // The normal geometry: a maximised window comes back at the size it had before.
  const QRect normal =
      main.isMaximized() || main.isFullScreen() ? main.normalGeometry() : main.geometry();
  settings.setValue(kPositionKey, main.isMaximized() ? normal.topLeft() : main.pos());
  settings.setValue(kSizeKey, normal.size());
}

}  // namespace cadenzo
