#!/usr/bin/env bash
# Runs the program under Wine (Debian 12, as root): installs what is missing,
# builds it, makes a few sample flights with the simulated altimeter's flight
# model, and starts the program under Wine: the demonstration build, in which a
# simulated altimeter with a few recorded flights stands in when no real one is
# attached.
#
# With a usable DISPLAY the window opens there (inside a 1280 x 1024 Wine
# desktop) and the script returns when the program ends; open a sample through
# File > Open, or download the simulated altimeter's flights through Tools >
# Download Data. Without one the program runs on its own Xvfb display: the
# script opens a sample flight through the File menu, then downloads the
# simulated altimeter's flights through Download Data, selects the second and
# closes the dialog; it saves screenshots of the sample, of the dialog and of
# the downloaded flight, prints their paths and closes the program.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$ZEL_ROOT/scripts/lib/wine.sh"
source "$ZEL_ROOT/scripts/lib/zelusb.sh"
ZEL_PROGRAM=$ZEL_BUILD/mingw/app/zelusb-demo.exe

RUN_OUT=$ZEL_BUILD/run
SAMPLES=$RUN_OUT/samples

cleanup() {
  zel_stop_wine
  zel_stop_display
}

zel_require_build_tools
zel_require_wine
zel_log "building the program (Windows) and the sample maker (native)"
ZEL_TARGETS="zelusb-demo zeldrive" zel_build_windows
ZEL_TARGETS=zelsamples zel_build_native
mkdir -p "$RUN_OUT"
zel_make_samples "$SAMPLES"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  zel_init_wine_prefix
  zel_log "sample flights: $SAMPLES (File > Open, drive Z:)"
  exec wine "$ZEL_PROGRAM"
fi

trap cleanup EXIT
zel_start_display
zel_init_wine_prefix
zel_log "no display: running on Xvfb $DISPLAY"
zel_start_program "$RUN_OUT/stdout.log"
zel_open_file "$SAMPLES/sample-flight.zel"
zel_wait_for_line "$RUN_OUT/stdout.log" "Loaded data set."
sleep 1
zel_screenshot "$RUN_OUT/zelusb.png"

# Download Data (status box 1003, Read Data 1006, the memory strip 1031).
zel_drive menu 40006
zel_drive wait-line "Download Data" 1003 "Device Connected."
zel_drive press "Download Data" 1006
zel_drive wait-line "Download Data" 1003 "Data read successfully."
sleep 0.5  # the worker's last control changes
read -r _ _ stripWidth _ < <(zel_drive rect "Download Data" 1031)
zel_drive click "Download Data" 1031 $((stripWidth * 30 / 128))  # a packet of the second flight
sleep 1
zel_screenshot "$RUN_OUT/download-data.png"
zel_drive close-window "Download Data"
zel_drive wait-closed "Download Data"
sleep 1  # the simulator window repaints itself over the graph's blit
zel_screenshot "$RUN_OUT/downloaded-flight.png"
zel_exit_program
printf '%s\n' "$RUN_OUT/zelusb.png" "$RUN_OUT/download-data.png" "$RUN_OUT/downloaded-flight.png"
