#!/usr/bin/env bash
# The core's speed natively (Google Benchmark, Release build: data sets,
# downloads and firmware updates against the simulated altimeter, files and
# exports), then the graph's speed under Wine on Xvfb at 1280 x 1024: the Windows benchmark
# (bench/win32) draws a full memory's data set view and live trace, and the
# program's time from start to its first painted frame is taken from outside,
# once with Wine not yet running and then warm; the demonstration program then
# downloads a full memory through Download Data from the simulated altimeter,
# paced like the device, with Live Update off and on, each run against the
# device's floor; last, the refresh of a full status box. Between them, the
# flight statistics against the flight model's truth. Prints the figures,
# each with its goal.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$ZEL_ROOT/scripts/lib/wine.sh"
source "$ZEL_ROOT/scripts/lib/zelusb.sh"

readonly STARTS=5
readonly DOWNLOADS=3
readonly DEMO=$ZEL_BUILD/mingw/app/zelusb-demo.exe
readonly FLOOR_REPLIES=4241  # the settings' 17 replies and 128 blocks of 33
# Each block is asked for with two reports and answered a frame after the
# second; with the two resets that is 130 frames the device cannot answer in.
readonly PROTOCOL_FLOOR_MS=$((FLOOR_REPLIES + 128 + 2))
PROTOCOL_FLOOR_TEXT="the protocol's own floor is $PROTOCOL_FLOOR_MS ms, $(awk -v p="$PROTOCOL_FLOOR_MS" \
  -v f="$FLOOR_REPLIES" 'BEGIN { printf "%.3f", p / f }') of it"
readonly PROTOCOL_FLOOR_TEXT

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

# download_ms LIVE: one paced full-memory download through the dialog, with
# Live Update off (0) or on (1): "milliseconds frames".
download_ms() {
  local before after ms
  zel_drive menu 40006
  zel_drive wait-line "Download Data" 1003 "Device Connected." || return 1
  zel_drive check "Download Data" 1032 "$1"
  before=$(zel_drive frames)
  ms=$(zel_drive time-line "Download Data" 1006 1003 "Data read successfully.") || return 1
  after=$(zel_drive frames)
  zel_drive wait-line "Download Data" 1003 "Packets Read: 128" >/dev/null
  zel_drive close-window "Download Data" && zel_drive wait-closed "Download Data"
  echo "$ms $((after - before))"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# against_floor MS...: each time over the device floor, and the worst.
against_floor() {
  printf '%s\n' "$@" | awk -v floor="$FLOOR_REPLIES" '
    { ratio = $1 / floor; line = line sprintf(" %.3f", ratio); if (ratio > worst) worst = ratio }
    END { printf "%s (worst %.3f)", line, worst }'
}

time_downloads() {
  zel_start_program /dev/null "$DEMO" >/dev/null
  zel_drive choose "Simulated altimeter" 1110 3  # a full memory
  zel_drive check "Simulated altimeter" 1111 1   # one report per millisecond
  local off=() on=() frames=() run result
  for run in $(seq "$DOWNLOADS"); do
    result=$(download_ms 0) && off+=("${result%% *}")
    result=$(download_ms 1) && on+=("${result%% *}") && frames+=("${result##* }")
  done
  zel_exit_program >/dev/null
  local offMs onMs
  offMs=$(printf '%s\n' "${off[@]}" | median)
  onMs=$(printf '%s\n' "${on[@]}" | median)
  echo "Live Update off: median $offMs ms (${off[*]})"
  echo "Live Update on:  median $onMs ms (${on[*]}), $(printf '%s\n' "${frames[@]}" | median) frames drawn (${frames[*]})"
  awk -v on="$onMs" -v off="$offMs" 'BEGIN { printf "ratio on / off: %.3f (goal <= 1.05); the device floor is 4,241 replies at 1 ms\n", on / off }'
  echo "each run over the floor, Live Update off:$(against_floor "${off[@]}"); on:$(against_floor "${on[@]}") (goal <= 1.05 every run; $PROTOCOL_FLOOR_TEXT)"
}

# update_ms IMAGE: one paced update of a full 64 KiB firmware file through
# Update Firmware, from "Updating firmware..." to its success line. The timer
# starts before the file is chosen: started after, it would see the first line
# only once its own process was up, some 100 ms into the update.
update_ms() {
  local timing=$ZEL_BUILD/bench-update/timing.txt timer
  zel_drive menu 40011
  zel_drive wait-line "Update Firmware" 1003 "Device connected in bootloader mode." || return 1
  zel_drive press "Update Firmware" 1005
  zel_drive time-between "Update Firmware" 1003 "Updating firmware..." "Firmware updated successfully." >"$timing" &
  timer=$!
  zel_drive file-dialog "Load Firmware file" "$(winepath -w "$1" 2>/dev/null)"
  wait "$timer" || return 1
  cat "$timing"
  zel_drive close-window "Update Firmware" && zel_drive wait-closed "Update Firmware"
}

time_updates() {
  local folder=$ZEL_BUILD/bench-update
  mkdir -p "$folder"
  head -c 65536 /dev/urandom >"$folder/full.bin"
  "$ZEL_BUILD/native-release/tools/zeltool" firmware-pack "$folder/full.bin" "$folder/full.dat" >/dev/null
  zel_start_program /dev/null "$DEMO" >/dev/null
  zel_drive check "Simulated altimeter" 1111 1   # one report per millisecond each way
  zel_drive press "Simulated altimeter" 1102     # bootloader mode
  local times=() run
  for run in $(seq "$DOWNLOADS"); do times+=("$(update_ms "$folder/full.dat")"); done
  zel_exit_program >/dev/null
  local ms
  ms=$(printf '%s\n' "${times[@]}" | median)
  echo "update: median $ms ms (${times[*]})"
  awk -v ms="$ms" 'BEGIN { printf "against the floor of 4,098 reports at 1 ms: %.3f (at least 1; goal <= 1.02)\n", ms / 4098 }'
}

zel_require_build_tools
zel_require_wine
ZEL_TARGETS="zel_bench zel_stats_accuracy zeltool" zel_build native-release -DCMAKE_BUILD_TYPE=Release -DZEL_TESTS=OFF
echo "== core (native, Release)"
"$ZEL_BUILD/native-release/bench/zel_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true |
  tee "$ZEL_BUILD/bench-core.txt" | grep -E '^Benchmark|_median'
sed -n 's/^PacedFullDownload.*_median *\([0-9]*\) ms.*vs_floor=\([0-9.]*\).*/\1 \2/p' "$ZEL_BUILD/bench-core.txt" |
  while read -r ms ratio; do
    echo "native paced download: median $ms ms, $ratio x the device floor of 4,241 replies at 1 ms (goal <= 1.02; $PROTOCOL_FLOOR_TEXT)"
  done
sed -n 's/^PacedFullFirmwareUpdate.*_median *\([0-9]*\) ms.*vs_floor=\([0-9.]*\).*/\1 \2/p' "$ZEL_BUILD/bench-core.txt" |
  while read -r ms ratio; do
    echo "native paced update: median $ms ms, $ratio x the floor of 4,098 reports at 1 ms (goal >= 1 and <= 1.02)"
  done
echo "== flight statistics against the flight model's truth, 25 seeds of each kind"
"$ZEL_BUILD/native-release/bench/zel_stats_accuracy" 25
# The job campaign is a test: the benchmark's Release build makes that one target too.
cmake -S "$ZEL_ROOT" -B "$ZEL_BUILD/native-release" -DZEL_TESTS=ON >"$ZEL_BUILD/native-release.configure.log" 2>&1
ZEL_TARGETS=job_campaign_tests zel_build native-release
echo "== job campaign (native, Release): device notices, faults and cancels during 100,000 jobs"
ZEL_CAMPAIGN_RUNS=100000 "$ZEL_BUILD/native-release/tests/job_campaign_tests" | grep -E '^campaign:|broken:' ||
  echo "job campaign: FAILED"

ZEL_TARGETS="zelusb zelusb-demo zeldrive graph_bench status_box_bench" zel_build_windows
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

echo "== Download Data: a full memory from the simulated altimeter, paced at one report per millisecond"
time_downloads

echo "== Update Firmware: a full 64 KiB image to the simulated bootloader, paced at one report per millisecond"
time_updates

echo "== status box"
wine "$ZEL_BUILD/mingw/bench/win32/status_box_bench.exe" 2>/dev/null | tr -d '\r'
