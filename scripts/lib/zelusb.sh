# The program under Wine, worked from outside by its end-to-end driver
# (tools/e2e): shared by the run command, the benchmarks and the end-to-end
# tests. Source common.sh first; WINEPREFIX and DISPLAY must be set.
# shellcheck shell=bash
ZEL_PROGRAM=$ZEL_BUILD/mingw/app/zelusb.exe
ZEL_DRIVER=$ZEL_BUILD/mingw/tools/e2e/zeldrive.exe
ZEL_FAULT_PROGRAM=$ZEL_BUILD/mingw/tools/e2e/zelusb-faults.exe  # DirectDraw faults armed by the driver
ZEL_SAMPLES_TOOL=$ZEL_BUILD/native-asan/tools/samples/zelsamples

# Sample flight files from the flight model, in the folder given.
zel_make_samples() { "$ZEL_SAMPLES_TOOL" "$1" >/dev/null; }

# Runs the driver; its output without carriage returns.
zel_drive() {
  wine "$ZEL_DRIVER" "$@" 2>>"$ZEL_BUILD/zeldrive.err" | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# zel_start_program LOG [PROGRAM]: starts the program (or PROGRAM) in the
# background with its standard output in LOG, sets ZEL_PROGRAM_PID and waits
# for its window.
zel_start_program() {
  wine "${2:-$ZEL_PROGRAM}" >"$1" 2>/dev/null &
  ZEL_PROGRAM_PID=$!
  zel_drive wait-main
}

# zel_wait_for_line LOG LINE: waits up to 15 s for a whole line in the log.
zel_wait_for_line() {
  local tries
  for tries in $(seq 150); do
    # Read to the end (no -q): a log's writer in a closed pipe fails the pipeline.
    tr -d '\r' <"$1" | grep -xF -- "$2" >/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# zel_open_file PATH: File > Open of that file.
zel_open_file() {
  zel_drive menu 40004 && zel_drive file-dialog "Load data set" "$(winepath -w "$1" 2>/dev/null)"
}

# zel_screenshot PNG: the whole screen.
zel_screenshot() { import -window root "$1"; }

# Closes the program through File > Exit and its "Are you sure?" box; its exit code.
zel_exit_program() {
  zel_drive menu 40002 && zel_drive message-box yes >/dev/null
  local status=0
  wait "$ZEL_PROGRAM_PID" || status=$?
  ZEL_PROGRAM_PID=
  return $status
}
