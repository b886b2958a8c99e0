// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace cadenzo {

// CADENZO_TRACE=1: every start-up stage (TraceStage) goes to stderr with the milliseconds since
// the program started, up to the list's first paint. Call it first thing in main(); without the
// variable nothing is set up.
void StartStartupTrace();
// The last stage: the watched widget (the list) has finished its first paint.
void TraceFirstPaint(QWidget* watched);

}  // namespace cadenzo
