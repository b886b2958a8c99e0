#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program on the current X display with openbox managing its windows; the window
# manager is stopped when the program ends. Meant to run inside xvfb-run.
#   run_with_window_manager.sh PROGRAM [ARGS...]
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# The window manager is up once it owns the screen.
i=0
while [ $i -lt 50 ] && ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  sleep 0.1
  i=$((i + 1))
done
sleep 0.3
QT_QPA_PLATFORM=xcb "$@"
rc=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit $rc
