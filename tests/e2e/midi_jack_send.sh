#!/usr/bin/env bash
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
# A server of our own, never one that a client starts by itself.
export JACK_DEFAULT_SERVER="cadenzo_e2e_$$_${RANDOM}"
export JACK_NO_START_SERVER=1
export JACK_NO_AUDIO_RESERVATION=1
jackd_pid=""
dump_pid=""

stop() {  # stop <pid>: TERM, then KILL if it has not ended within 5 seconds
  local pid=$1
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}
cleanup() {
  stop "$dump_pid"
  stop "$jackd_pid"
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

jackd --no-realtime -d dummy -r 48000 -p 256 >"$work/jackd.log" 2>&1 &
jackd_pid=$!
server_up() { kill -0 "$jackd_pid" 2>/dev/null && timeout 5 jack_lsp >/dev/null 2>&1; }
wait_for 100 server_up || fail "the JACK server did not start"

stdbuf -oL jack_midi_dump cadenzo_dump >"$work/dump.log" 2>&1 &
dump_pid=$!
dump_ready() { timeout 5 jack_lsp 2>/dev/null | grep -qx 'cadenzo_dump:input'; }
wait_for 100 dump_ready || fail "jack_midi_dump did not appear"

# The application folder: the shipped template and a style list for the target.
mkdir "$work/app"
cp "$bin/sysex2.mid" "$work/app/" || fail "sysex2.mid is not in $bin"
printf 'Pop Rock;0012\r\nBig Band;0300\r\n' >"$work/app/PSR-S970.dat"

timeout 60 "$bin/midi_send_probe" send "$work/app" cadenzo_dump:input >"$work/probe.log" 2>&1
status=$?
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
