#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sends the probe's fixed record through our system MIDI port to a JACK server with the dummy
# driver, where jack_midi_dump receives it, and checks the SysEx bytes and their order.
# Usage: midi_jack_send.sh <bin folder>. Exits 77 (skipped) only when JACK is not installed.
set -uo pipefail
bin=$1
for tool in jackd jack_midi_dump jack_lsp; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
jackd_pid=""
dump_pid=""

# A server of our own, never one that a client starts by itself. Its name comes from a small
# set guarded by lock files, so that parallel runs never share a server, and a run that was
# killed hard leaves an entry in JACK's registry of servers (which holds eight) that the next run
# of the same name reclaims.
export JACK_NO_START_SERVER=1
export JACK_NO_AUDIO_RESERVATION=1
slot=""
for _ in $(seq 240); do
  for n in 0 1 2 3; do
    exec {lock_fd}>"${TMPDIR:-/tmp}/cadenzo-e2e-jack-$n.lock"
    if flock -n "$lock_fd"; then
      slot=$n
      break 2
    fi
    exec {lock_fd}>&-
  done
  sleep 0.5
done
if [ -z "$slot" ]; then
  echo "FAIL: no free JACK server name after two minutes"
  rm -rf "$work"
  exit 1
fi
export JACK_DEFAULT_SERVER="cadenzo_e2e_$slot"

stop() {  # stop <pid>: TERM, then KILL if it has not ended within 20 seconds
  local pid=$1
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}
cleanup() {
  # The server first: jack_midi_dump only looks at a stop request when MIDI arrives, but it
  # ends when its server goes.
  stop "$jackd_pid"
  stop "$dump_pid"
  # What our server and its clients leave in /dev/shm carries our server's name.
  rm -f /dev/shm/jack_sem.*_"${JACK_DEFAULT_SERVER}"_* /dev/shm/jack_"${JACK_DEFAULT_SERVER}"_*
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  for log in jackd.log dump.log probe.log; do
    [ -f "$work/$log" ] && { echo "--- $log"; cat "$work/$log"; }
  done
  exit 1
}
# wait_for <tries of 0.1 s> <command...>
wait_for() {
  local tries=$1
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Sync mode with a long client timeout and long periods: on a loaded machine late clients make
# the server wait instead of dropping their cycle, and with it MIDI in flight.
jackd --no-realtime --sync --timeout 10000 -d dummy -r 48000 -p 4096 -w 85333 \
  >"$work/jackd.log" 2>&1 &
jackd_pid=$!
# jack_wait is one client that waits; clients killed halfway through opening upset the server.
jack_wait -w -t 60 >/dev/null 2>&1 || fail "the JACK server did not start"
kill -0 "$jackd_pid" 2>/dev/null || fail "the JACK server ended"

stdbuf -oL jack_midi_dump cadenzo_dump >"$work/dump.log" 2>&1 &
dump_pid=$!

# The application folder: the shipped template and a style list for the target.
mkdir "$work/app"
cp "$bin/sysex2.mid" "$work/app/" || fail "sysex2.mid is not in $bin"
printf 'Pop Rock;0012\r\nBig Band;0300\r\n' >"$work/app/PSR-S970.dat"

# Status 3: the output is not listed yet (jack_midi_dump is still starting); nothing was sent,
# so asking again is safe.
for _ in $(seq 60); do
  kill -0 "$dump_pid" 2>/dev/null || fail "jack_midi_dump ended"
  timeout 60 "$bin/midi_send_probe" send "$work/app" cadenzo_dump:input >"$work/probe.log" 2>&1
  status=$?
  [ "$status" -eq 3 ] || break
  sleep 0.5
done
[ "$status" -eq 77 ] && { cat "$work/probe.log"; echo "skipped: built without MIDI output"; exit 77; }
[ "$status" -eq 0 ] || fail "the send ended with status $status"

expected=(
  "f0 43 73 01 51 05 00 03 04 00 00 02 2c f7"
  "f0 43 7e 00 00 00 f7" "f0 43 7e 00 01 00 f7" "f0 43 7e 00 02 00 f7"
  "f0 43 7e 00 08 00 f7" "f0 43 7e 00 09 00 f7" "f0 43 7e 00 0a 00 f7"
  "f0 43 7e 00 0b 00 f7" "f0 43 7e 00 10 00 f7" "f0 43 7e 00 11 00 f7"
  "f0 43 7e 00 12 00 f7" "f0 43 7e 00 13 00 f7" "f0 43 7e 00 18 00 f7"
  "f0 43 7e 00 20 00 f7" "f0 43 7e 00 21 00 f7" "f0 43 7e 00 22 00 f7"
  "f0 43 7e 00 09 7f f7" "f0 43 7e 00 01 7f f7"
  "f0 43 7e 01 00 1e 42 20 f7"
)
# Lines look like "   0: f0 43 ... f7"; keep the bytes.
received() { sed -n 's/^ *[0-9]*: *//p' "$work/dump.log"; }
all_arrived() { [ "$(received | wc -l)" -ge "${#expected[@]}" ]; }
wait_for 100 all_arrived || fail "not every message arrived"
sleep 0.3  # nothing more may follow
mapfile -t got < <(received)
if [ "${got[*]}" != "${expected[*]}" ]; then
  printf 'expected:\n'; printf '  %s\n' "${expected[@]}"
  printf 'received:\n'; printf '  %s\n' "${got[@]}"
  fail "the received messages differ"
fi
echo "ok: ${#got[@]} SysEx messages received in order, tempo last"
