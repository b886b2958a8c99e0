#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark on generated files and prints the figures bench/README.md records.
#   bench/run_bench.sh [ratios|core|cli|window|commands|memory|all]   (default: all)
# "ratios" prints each figure beside the floor that bounds it, both measured in the same run.
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

if [[ $what == commands || $what == all ]]; then
  echo "== window: the list commands on 32,767 records, from the click to the repainted list"
  QT_QPA_PLATFORM=offscreen "$bin/window_commands_bench" "$work/bench32767.mfd" 2>/dev/null
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

if [[ $what == ratios || $what == all ]]; then
  echo "== ratios to the floors, measured in this run"; load
  "$bin/cadenzo_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_filter='(MemcpyFloor|ReadPreviewImage|SortByMusic|SortKeysFloor)/32767' \
    --benchmark_format=json >"$work/core.json" 2>/dev/null
  QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=$work/home XDG_CONFIG_HOME=$work/home/config \
    CADENZO_QUIT_AFTER_PAINT=1 hyperfine -N --warmup 3 --runs "$runs" \
    --export-json "$work/start.json" "$bin/window_baseline" "$bin/cadenzo" \
    "$bin/cadenzo $work/bench2500.mfd" >/dev/null
  hyperfine -N --warmup 10 --runs "$runs" --export-json "$work/convert.json" \
    "dd if=$work/bench2500.mfd of=$work/copy.mfd conv=fsync status=none" \
    "$bin/cadenzo-cli --user-dir $work/user convert $work/bench2500.mfd --target PSR-SX900 -o $work/out.mfd" \
    >/dev/null
  peak() {
    for _ in 1 2 3; do
      # shellcheck disable=SC2068
      QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=$work/home XDG_CONFIG_HOME=$work/home/config \
        CADENZO_QUIT_AFTER_PAINT=1 /usr/bin/time -v $@ 2>&1 >/dev/null |
        sed -n 's/.*Maximum resident set size (kbytes): //p'
    done | sort -n | sed -n 2p
  }
  peak "$bin/window_baseline" >"$work/mem-baseline"
  peak "$bin/cadenzo" "$work/bench32767.mfd" >"$work/mem-cadenzo"
  python3 - "$work" <<'PY'
import json, statistics, sys
work = sys.argv[1]
core = {b["run_name"].split("/")[0]: b["real_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[b["time_unit"]]
        for b in json.load(open(f"{work}/core.json"))["benchmarks"] if b.get("aggregate_name") == "median"}
def hyper(name):
    return [statistics.median(r["times"]) * 1000 for r in json.load(open(f"{work}/{name}.json"))["results"]]
base, empty, full = hyper("start")
dd, convert = hyper("convert")
mem_base = int(open(f"{work}/mem-baseline").read()) / 1024
mem_full = int(open(f"{work}/mem-cadenzo").read()) / 1024
rows = [
    ("Window: start to list painted, no file", empty, base, "ms", "<= 1.2x"),
    ("Window: start to list painted, 2,500 records", full, base, "ms", "<= 1.3x"),
    ("Read + preview pass + image, 32,767 records", core["BM_ReadPreviewImage"], core["BM_MemcpyFloor"], "ms", "<= 40x"),
    ("Sort 32,767 rows by Music", core["BM_SortByMusic"], core["BM_SortKeysFloor"], "ms", "<= 1.5x"),
    ("cadenzo-cli convert, 2,500 records", convert, dd, "ms", "<= 1.3x"),
]
print(f"  {'What':46} {'Now':>10} {'Floor':>10} {'Ratio':>8}  Target")
for what, now, floor, unit, target in rows:
    print(f"  {what:46} {now:8.3f}{unit} {floor:8.3f}{unit} {now / floor:7.2f}x  {target}")
print(f"  {'Peak memory, window with 32,767 records':46} {mem_full:8.1f}MB {mem_base:8.1f}MB "
      f"{mem_full - mem_base:+7.1f}MB  <= +12 MB")
PY
  load
fi
