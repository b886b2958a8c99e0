#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark on generated files and prints the figures bench/README.md records.
#   bench/run_bench.sh [core|cli|window|memory|all]   (default: all)
# BUILD_DIR (default build) must hold a build with the windows and the benchmarks.
# RUNS (default 30) sets hyperfine's runs for each command.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${BUILD_DIR:-build}")
bin=$build/bin
runs=${RUNS:-30}
what=${1:-all}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/user" "$work/home"

# The test files: the bundled example's kind of records, 2,500 and 32,767 of them.
for n in 2500 32767; do
  "$build/tools/make_mfd_data" example "$bin/PSR-S970.dat" "$work/bench$n.mfd" "$n"
done

load() { echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"; }

# Median, user and system time of each command of a hyperfine JSON export, in milliseconds.
medians() {
  python3 - "$1" <<'PY'
import json, statistics, sys
for r in json.load(open(sys.argv[1]))["results"]:
    print(f"  median {statistics.median(r['times']) * 1000:8.2f} ms"
          f"  min {r['min'] * 1000:8.2f} ms  user {r['user'] * 1000:7.2f} ms"
          f"  system {r['system'] * 1000:7.2f} ms  runs {len(r['times'])}  {r['command']}")
PY
}

if [[ $what == core || $what == all ]]; then
  echo "== core (Google Benchmark, median of 5 repetitions)"; load
  "$bin/cadenzo_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_filter="${FILTER:-.}" 2>/dev/null | grep -E '_median|^-|Benchmark'
  load
fi

if [[ $what == cli || $what == all ]]; then
  echo "== cadenzo-cli convert, 2,500 records, against cp"; load
  hyperfine -N --warmup 10 --runs "$runs" --export-json "$work/cli.json" \
    "cp $work/bench2500.mfd $work/copy.mfd" \
    "$bin/cadenzo-cli --user-dir $work/user convert $work/bench2500.mfd --target PSR-SX900 -o $work/out.mfd" \
    >/dev/null
  medians "$work/cli.json"; load
fi

if [[ $what == window || $what == all ]]; then
  echo "== window: start until the list's first paint, 2,500 records, offscreen"; load
  QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=$work/home CADENZO_QUIT_AFTER_PAINT=1 \
    hyperfine -N --warmup 3 --runs "$runs" --export-json "$work/window.json" \
    "$bin/window_baseline" "$bin/cadenzo $work/bench2500.mfd" >/dev/null
  medians "$work/window.json"; load
fi

if [[ $what == memory || $what == all ]]; then
  echo "== peak memory (maximum resident set size), offscreen"; load
  export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=$work/home CADENZO_QUIT_AFTER_PAINT=1
  for cmd in "$bin/window_baseline" "$bin/cadenzo $work/bench2500.mfd" \
    "$bin/cadenzo $work/bench32767.mfd"; do
    for i in 1 2 3; do
      # shellcheck disable=SC2086
      /usr/bin/time -v $cmd 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p'
    done | sort -n | sed -n 2p | xargs printf "  median %s KiB  $cmd\n"
  done
  load
fi
