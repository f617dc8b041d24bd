#!/usr/bin/env bash
# Device notices while a job runs, against the demonstration program's
# simulated altimeter paced like the device: another device plugged in (and
# pulled out 300 ms later) and a USB stick inserted in the middle of a
# download, a launch emulation, a firmware update, a settings write and a
# calibration. Each job ends as it would have, its buttons stay disabled until
# it has, and the connection report then comes once, after its last lines.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly SIM="Simulated altimeter" DOWNLOAD="Download Data" CONTROL="Control Options"
readonly UPDATE="Update Firmware" SETTINGS="Program Chip"
readonly STATUS=1003 CLOSE=1004
readonly SAVE_SELECTED=1002 READ_DATA=1006 SAVE_ALL=1007 SAVE_COMMENT=1008 CLEAR=1011
readonly EMULATE=1039 PRESSURE=1040 BATTERY=1041 FIRE=1042
readonly UPDATE_BUTTON=1005
readonly WRITE=1005 READ_SETTINGS=1006 A_SECONDS=1009 B_METRES=1012 A_TIME=1014 B_ALTITUDE=1019
readonly INHIBIT=1023 CALIBRATE=1035 GROUND=1039
readonly SIM_PLUG=1101 SIM_BOOTLOADER=1102 SIM_MEMORY=1110 SIM_PACED=1111
readonly SIM_FLASH=1142 SIM_IMAGE=1143 SIM_COMPARE=1144 SIM_OTHER_DEVICE=1145 SIM_STICK=1146
readonly MEMORY_FULL=3 FULL_PACKETS=128 FULL_SETS=5
readonly CONNECTED="Device Connected.
Current device firmware version: 1.41"
readonly BOOTLOADER_CONNECTED="Device connected in bootloader mode.
Device bootloader version: 1.03"

sim() { zel_drive "$1" "$SIM" "${@:2}" >/dev/null; }
# A dialog's status lines; the last ends in CR LF like the others.
status_of() { zel_drive text "$1" $STATUS | sed '${/^$/d}'; }
count_of() { status_of "$1" | grep -cxF -- "$2"; }
# has_any_line CAPTION LINE...: the status box has one of those whole lines.
has_any_line() { status_of "$1" | grep -qxF -f <(printf '%s\n' "${@:2}"); }
# lines_after CAPTION LINE: the status lines after the last that is exactly LINE.
lines_after() {
  status_of "$1" |
    awk -v from="$2" '{ line[NR] = $0 } $0 == from { n = NR } END { if (n) for (i = n + 1; i <= NR; i++) print line[i] }'
}
reported_after() { [ "$(lines_after "$1" "$2")" = "$3" ]; }
# What follows a job's end comes at once.
soon() { within 3 "$@"; }

# notices_at CAPTION LINE: the moment the dialog shows LINE, another device
# arrives and a USB stick is inserted.
notices_at() { zel_drive press-at-line "$1" $STATUS "$2" "$SIM" $SIM_OTHER_DEVICE $SIM_STICK; }

# disabled_until_end CAPTION "IDS" END...: whenever sampled, those controls are
# disabled, until the status box has one of the END lines (20 s at most). The
# worker enables them after its last line, so a sample that finds one enabled
# passes only when that line is there by then.
# shellcheck disable=SC2086
disabled_until_end() {
  local caption=$1 ids=$2 deadline=$((SECONDS + 20))
  shift 2
  while [ $SECONDS -lt $deadline ]; do
    has_any_line "$caption" "$@" && return 0
    none_enabled "$caption" $ids || has_any_line "$caption" "$@" || return 1
    sleep 0.05
  done
  return 1
}

# survives_notices CAPTION JOB AT "IDS" REPORT SUCCESS FAILURE...: the notices
# come when the job now running shows AT; it still ends with SUCCESS, its
# buttons disabled until then, and the connection report REPORT follows once;
# then the buttons are enabled again.
# shellcheck disable=SC2086
survives_notices() {
  local caption=$1 job=$2 at=$3 ids=$4 report=$5 success=$6 before
  shift 5
  before=$(count_of "$caption" "${report%%$'\n'*}")
  check "another device and a USB stick arrive mid-$job" notices_at "$caption" "$at"
  check "... its buttons stay disabled until it ends" disabled_until_end "$caption" "$ids" "$@"
  check "... it ends with '$success'" has_any_line "$caption" "$success"
  check "... then the connection report comes, after its last line" soon reported_after "$caption" "$success" "$report"
  check "... and the buttons are enabled again" soon all_enabled "$caption" $ids
  check "... the report having come once" [ "$(count_of "$caption" "${report%%$'\n'*}")" = $((before + 1)) ]
}

# Answers Save All's dialogs; stops at the first that does not come.
save_every_set() {
  local n
  for n in $(seq $FULL_SETS); do
    zel_drive file-dialog "Save data set $n" "$(windows_path "$E2E_OUT/set-$n.zel")" || return 1
  done
}
every_set_reopens() {
  local n
  for n in $(seq $FULL_SETS); do
    "$E2E_ZELTOOL" info "$E2E_OUT/set-$n.zel" 2>/dev/null | grep -qx '.*: 1 set' || return 1
  done
}

open_dialog() { zel_drive menu "$2" && zel_drive wait-line "$1" $STATUS "$3"; }
settings_box() { zel_drive text "$SETTINGS" "$1"; }
close_dialog() { zel_drive close-window "$1" && zel_drive wait-closed "$1"; }

check "the demonstration program starts" e2e_start_program "$ZEL_BUILD/mingw/app/zelusb-demo.exe"
sim check $SIM_PACED 1
sim choose $SIM_MEMORY $MEMORY_FULL

# ---- A download ----
open_dialog "$DOWNLOAD" 40006 "Device Connected."
zel_drive press "$DOWNLOAD" $READ_DATA
survives_notices "$DOWNLOAD" download "Packet Read: 20" \
  "$READ_DATA $CLEAR $SAVE_ALL $SAVE_SELECTED $SAVE_COMMENT $CLOSE" "$CONNECTED" \
  "Packets Read: $FULL_PACKETS" "Failed to read data."
check "... having read every packet" has_any_line "$DOWNLOAD" "Data read successfully."
zel_drive press "$DOWNLOAD" $SAVE_ALL
check "Save All then asks for each of the $FULL_SETS sets" save_every_set
check "... and says it saved, with no set more" \
  [ "$(zel_drive message-box ok)" = $'ZEL USB 1.41\nData set/s saved succesfully.' ]
check "... each file reopening with its one set" every_set_reopens
sim press $SIM_STICK
sleep 0.3  # as long as the report took after the download
check "a USB stick arriving while idle brings no report" \
  reported_after "$DOWNLOAD" "Packets Read: $FULL_PACKETS" "$CONNECTED"
close_dialog "$DOWNLOAD"

# ---- A launch emulation ----
make_samples
zel_open_file "$E2E_OUT/samples/sample-flight.zel"
open_dialog "$CONTROL" 40014 "Device Connected."
zel_drive press "$CONTROL" $EMULATE
zel_drive message-box ok >/dev/null
survives_notices "$CONTROL" emulation "Launch Time (s): 2" "$EMULATE $PRESSURE $BATTERY $FIRE" "$CONNECTED" \
  "Done." "Failed."
check "... after every event of the flight" [ "$(lines_after "$CONTROL" "Emulating..." | grep -v '^Launch Time (s): ' |
  sed '/^Done\.$/q')" = "Launch detected.
Apogee detected.
Line A fired.
Line B fired.
Device indicates end of launch.
Done." ]
close_dialog "$CONTROL"

# ---- A firmware update ----
head -c 65536 /dev/urandom >"$E2E_OUT/image.bin"
"$E2E_ZELTOOL" firmware-pack "$E2E_OUT/image.bin" "$E2E_OUT/update.dat" >/dev/null
sim press $SIM_BOOTLOADER
open_dialog "$UPDATE" 40011 "Device connected in bootloader mode."
zel_drive press "$UPDATE" $UPDATE_BUTTON
zel_drive file-dialog "Load Firmware file" "$(windows_path "$E2E_OUT/update.dat")"
survives_notices "$UPDATE" update "20%" "$UPDATE_BUTTON $CLOSE" "$BOOTLOADER_CONNECTED" \
  "Firmware updated successfully." "Failed to update firmware."
sim set-text $SIM_IMAGE "$(windows_path "$E2E_OUT/image.bin")"
sim press $SIM_COMPARE
check "... the flash holding the whole image" \
  zel_drive wait-line "$SIM" $SIM_FLASH "Flash: 1024 blocks written; matches image.bin"
close_dialog "$UPDATE"

# ---- A settings write and a calibration ----
sim press $SIM_PLUG
open_dialog "$SETTINGS" 40007 "Device Connected."
zel_drive click-button "$SETTINGS" $A_TIME >/dev/null
zel_drive set-text "$SETTINGS" $A_SECONDS 12
zel_drive click-button "$SETTINGS" $B_ALTITUDE >/dev/null
zel_drive set-text "$SETTINGS" $B_METRES 321
zel_drive set-text "$SETTINGS" $INHIBIT 3
zel_drive press "$SETTINGS" $WRITE
survives_notices "$SETTINGS" write "Altimeter found! Writing settings..." "$READ_SETTINGS $WRITE $CALIBRATE" \
  "$CONNECTED" "Settings written successfully." "Failed to write settings." "Failed to clear data."
for id in $A_SECONDS $B_METRES $INHIBIT; do zel_drive set-text "$SETTINGS" $id 999; done
zel_drive press "$SETTINGS" $READ_SETTINGS
zel_drive wait-line "$SETTINGS" $STATUS "Settings read successfully."
check "... a read then shows what was written" \
  [ "$(settings_box $A_SECONDS) $(settings_box $B_METRES) $(settings_box $INHIBIT)" = "12 321 3" ]
soon all_enabled "$SETTINGS" $READ_SETTINGS $WRITE $CALIBRATE
zel_drive set-text "$SETTINGS" $GROUND 150
zel_drive press "$SETTINGS" $CALIBRATE
survives_notices "$SETTINGS" calibration "Calibrating..." "$READ_SETTINGS $WRITE $CALIBRATE" "$CONNECTED" \
  "Calibration complete." "Failed to calibrate." "Failed." "Failed to clear data." "Failed to read settings."
close_dialog "$SETTINGS"

e2e_finish
