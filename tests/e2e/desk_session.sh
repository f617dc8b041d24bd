#!/usr/bin/env bash
# A running job against the rest of the Windows desk, with the demonstration
# program's simulated altimeter: logging off (wineboot -e) is refused while a
# firmware update runs and the update goes on to its end; a sleep ends a
# download as the altimeter's removal does, the arrival after it connecting
# again; a session ended by force cancels a download and waits for it.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly UPDATE_DIALOG="Update Firmware" DOWNLOAD="Download Data" SIM="Simulated altimeter"
readonly STATUS=1003 UPDATE=1005 READ=1006
readonly SIM_PLUG=1101 SIM_BOOTLOADER=1102 SIM_PULL=1103 SIM_MEMORY=1110 SIM_PACED=1111
readonly MEMORY_FULL=3

sim() { zel_drive "$1" "$SIM" "${@:2}" >/dev/null; }
has_line() { zel_drive text "$1" $STATUS | tr -d '\r' | grep -qxF -- "$2"; }
shows() { eventually has_line "$@"; }
# wineboot -e: the session's end, as a log-off asks it; its exit status.
end_session() { wineboot -e "$@" >/dev/null 2>&1; }
program_running() { ! program_ended; }
not() { ! "$@"; }
last_log_line() { log_text | sed '/^$/d' | tail -n 1; }

python3 - "$E2E_OUT/full.bin" <<'PY'
import random, sys
random.seed(11)
open(sys.argv[1], "wb").write(random.randbytes(65536))
PY
"$E2E_ZELTOOL" firmware-pack "$E2E_OUT/full.bin" "$E2E_OUT/full.dat" >/dev/null

check "the demonstration program starts" e2e_start_program "$ZEL_BUILD/mingw/app/zelusb-demo.exe"
sim check $SIM_PACED 1

# ---- Logging off during a firmware update ----
sim press $SIM_BOOTLOADER
zel_drive menu 40011
shows "$UPDATE_DIALOG" "Device connected in bootloader mode."
zel_drive press "$UPDATE_DIALOG" $UPDATE
zel_drive file-dialog "Load Firmware file" "$(windows_path "$E2E_OUT/full.dat")"
shows "$UPDATE_DIALOG" "10%"
check "... in the user's words" bash -c "tr -d '\r' <'$E2E_LOG' | grep -qxF \"Shutdown block reason: The altimeter's firmware is being written. Cutting this leaves the altimeter unusable until it is flashed again.\""
check "logging off during an update is refused" not end_session
check "... the program says why in its log" wait_for_log "The session may not end: a job is running."
check "... and keeps running" program_running
check "... and the update goes on to its end" shows "$UPDATE_DIALOG" "Firmware updated successfully."
zel_drive close-window "$UPDATE_DIALOG"
zel_drive wait-closed "$UPDATE_DIALOG"

# ---- A sleep during a download ----
sim press $SIM_PLUG
sim choose $SIM_MEMORY $MEMORY_FULL
zel_drive menu 40006
shows "$DOWNLOAD" "Device Connected."
zel_drive press "$DOWNLOAD" $READ
shows "$DOWNLOAD" "Packet Read: 5"
zel_drive suspend "$DOWNLOAD"
check "a sleep lets the altimeter go" shows "$DOWNLOAD" "Device disconnected."
check "... which ends the download" shows "$DOWNLOAD" "Failed to read data."
sim press $SIM_PLUG
# Up to 30 s: the arrival comes after the pull-out the plug-in starts with, and on a busy machine both take long.
check "after the resume the altimeter's arrival connects it again" \
  within 30 [ "$(zel_drive text "$DOWNLOAD" $STATUS | tr -d '\r' | grep -cxF 'Device Connected.')" = 2 ]
eventually all_enabled "$DOWNLOAD" $READ
zel_drive press "$DOWNLOAD" $READ
check "... and a download works again" shows "$DOWNLOAD" "Packets Read: 128"

# ---- The session ended by force during a download ----
# A log-off that will not wait asks nothing: the session's end reaches every window.
zel_drive press "$DOWNLOAD" $READ
shows "$DOWNLOAD" "Packet Read: 5"
check "a forced end of the session is handled within the time Windows gives" zel_drive end-session "$DOWNLOAD"
check "... cancelling the download" wait_for_log "The session is ending: the job is cancelled."
check "... and awaiting it, as the log's last line says" [ "$(last_log_line)" = "The job ended before the session." ]
check "with no job running, logging off goes ahead" end_session
check "... and ends the program" within 15 program_ended
ZEL_PROGRAM_PID=

e2e_finish
