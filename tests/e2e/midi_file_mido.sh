#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the template as filled for a send and reads it back with an independent reader
# (python3-mido): event kinds, order, tick times and bytes.
# Usage: midi_file_mido.sh <bin folder>
set -euo pipefail
bin=$1
python=/usr/bin/python3
if ! "$python" -c 'import mido' >/dev/null 2>&1; then
  echo "FAIL: python3-mido is not installed (scripts/install-deps installs it)"
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/app"
cp "$bin/sysex2.mid" "$work/app/"
printf 'Big Band;0300\r\n' >"$work/app/PSR-S970.dat"
timeout 60 "$bin/midi_send_probe" write "$work/app" "$work/filled.mid"

"$python" - "$work/filled.mid" <<'PY'
import sys
import mido

f = mido.MidiFile(sys.argv[1])
assert f.type == 0, f.type
assert f.ticks_per_beat == 480, f.ticks_per_beat
assert len(f.tracks) == 1, len(f.tracks)
events = []
tick = 0
for msg in f.tracks[0]:
    tick += msg.time
    if msg.is_meta:
        events.append((tick, msg.type, getattr(msg, "tempo", None)))
    else:
        events.append((tick, msg.type, msg.hex()))

offs = ["00", "01", "02", "08", "09", "0A", "0B", "10", "11", "12", "13", "18", "20", "21", "22"]
expected = [(0, "set_tempo", 1200000),
            (0, "sysex", "F0 43 73 01 51 05 00 03 04 00 00 02 2C F7")]
expected += [(100, "sysex", "F0 43 7E 00 %s 00 F7" % s) for s in offs]
expected += [(100, "sysex", "F0 43 7E 00 09 7F F7"), (100, "sysex", "F0 43 7E 00 01 7F F7"),
             (200, "sysex", "F0 43 7E 01 00 1E 42 20 F7"), (300, "end_of_track", None)]
if events != expected:
    print("expected:", *expected, "read:", *events, sep="\n  ")
    sys.exit(1)
# 1.2 s a quarter at 480 ticks: the three groups at 0, 0.25 and 0.5 s, the end at 0.75 s.
assert abs(f.length - 0.75) < 1e-9, f.length
print("ok: %d events read back by mido" % len(events))
PY
