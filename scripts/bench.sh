#!/usr/bin/env bash
# The core's speed natively (Google Benchmark, Release build: data sets,
# downloads and firmware updates against the simulated altimeter, files and
# exports), then the graph's speed under Wine on Xvfb at 1280 x 1024: the Windows benchmark
# (bench/win32) draws a full memory's data set view and live trace, and the
# program's time from start to its first painted frame is taken from outside,
# once with Wine not yet running and then warm. Prints the figures.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$ZEL_ROOT/scripts/lib/wine.sh"
source "$ZEL_ROOT/scripts/lib/zelusb.sh"

readonly STARTS=5

cleanup() {
  zel_stop_wine
  zel_stop_display
}
trap cleanup EXIT

# Seconds from starting the program until its client area shows the background.
time_first_frame() {
  local start status=0
  start=$(date +%s%N)
  wine "$ZEL_DRIVER" wait-colour 180 180 255 2>/dev/null &
  local driver=$!
  wine "$ZEL_PROGRAM" >/dev/null 2>&1 &
  ZEL_PROGRAM_PID=$!
  wait "$driver" || status=$?
  local elapsed=$(($(date +%s%N) - start))
  zel_exit_program >/dev/null
  [ $status -eq 0 ] || { echo "no painted frame"; return 1; }
  awk -v ns="$elapsed" 'BEGIN { printf "%.2f\n", ns / 1e9 }'
}

zel_require_build_tools
zel_require_wine
ZEL_TARGETS=zel_bench zel_build native-release -DCMAKE_BUILD_TYPE=Release -DZEL_TESTS=OFF
echo "== core (native, Release)"
"$ZEL_BUILD/native-release/bench/zel_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true |
  grep -E '^Benchmark|_median'

ZEL_TARGETS="zelusb zeldrive graph_bench" zel_build_windows
unset DISPLAY
zel_start_display
zel_init_wine_prefix

echo "== graph (Windows benchmark under Wine, $(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg))"
wine "$ZEL_BUILD/mingw/bench/win32/graph_bench.exe" 2>/dev/null | tr -d '\r'

echo "== program start to first painted frame"
zel_stop_wine
echo "cold (Wine not running): $(time_first_frame) s"
warm=()
for _ in $(seq "$STARTS"); do warm+=("$(time_first_frame)"); done
printf '%s\n' "${warm[@]}" | sort -n | awk '{ v[NR] = $1 } END { printf "warm: median %.2f s of %d starts (%s .. %s)\n", v[int((NR + 1) / 2)], NR, v[1], v[NR] }'
