// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace cadenzo {

// The rectangle moved (and, when larger, shrunk) so that it lies inside `available`.
QRect KeptInside(QRect rect, const QRect& available);

// Where a tool window of this frame size goes the first time: beside the main window's frame,
// clear of the other tool windows, to the right where it fits, else to the left, else over the
// main window at its right edge; always inside `available`. Returns the frame's top left.
QPoint PlaceBeside(const QSize& frame, const QRect& mainFrame, const QList<QRect>& others,
                   const QRect& available);

// Shows a tool window in its place: the first time in the run beside the main window on the
// main window's screen (PlaceBeside, clear of the other visible tool windows), later where the
// user left it. Call it instead of show().
void ShowToolWindow(QWidget& tool, const QWidget& main);

// The main window's size and position as the last run left them, kept inside the available
// screen; nothing changes when none were stored.
void RestoreMainWindowGeometry(QWidget& main);
void StoreMainWindowGeometry(const QWidget& main);

}  // namespace cadenzo
