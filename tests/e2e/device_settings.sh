#!/usr/bin/env bash
# Device Settings against the demonstration program's simulated altimeter: the
# record shown on opening, writes with the image the device then stores, reads,
# boxes without a whole number and values too large refused before anything is
# erased or the flight shown is dropped, the warnings, calibration with an
# offset that fits and one that does not, failures (clears and pressure reads
# the device answers wrongly, a stored record with a bad checksum) and device
# notices, the close handshake, resizing and the face.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly DIALOG="Program Chip" SIM="Simulated altimeter" DOWNLOAD="Download Data"
readonly STATUS=1003 WRITE=1005 READ=1006 CLOSE=1004
readonly A_SECONDS=1009 B_SECONDS=1010 A_METRES=1011 B_METRES=1012
readonly A_DISABLED=1013 A_TIME=1014 A_ALTITUDE=1015 A_APOGEE=1016
readonly B_DISABLED=1017 B_TIME=1018 B_ALTITUDE=1019 B_APOGEE=1020
readonly INHIBIT=1023 CALIBRATE=1035 GROUND=1039 ICON=1041
readonly SIM_PLUG=1101 SIM_PULL=1103 SIM_MEMORY=1110 SIM_FAULT=1120
readonly SIM_GROUND=1130 SIM_ERROR=1131 SIM_APPLY=1133 SIM_SETTINGS=1140 SIM_STORE_DAMAGED=1147
readonly MEMORY_THREE=2 FAULT_SILENCE=1 FAULT_REMOVAL=2 FAULT_WRONG_CODE=3 FAULT_PRESSURE=4
readonly DISABLED=0 TIME=1 APOGEE=2 ALTITUDE=3
readonly DOWNLOAD_READ=1006
readonly SHOWN_SET='#FF0000'
readonly BOX=$'ZEL USB 1.41\n'
readonly TOO_LARGE="${BOX}A setting is too large for the altimeter. Times and the inhibit can be at most 6553 seconds, altitudes at most 65535 m. Nothing was written to the device."
readonly INHIBIT_LARGE="${BOX}The inhibit setting is very large. Please make sure that it is the correct setting."
readonly LINES_DISABLED="${BOX}One or both of the ejection lines are disabled. Make sure this is correct."
readonly ENTER_ALTITUDE="${BOX}Please enter your aproximate MSL altitude and try again."
readonly NOT_FOUND="Altimeter not found. Make sure it is properly connected to the PC."
readonly WRITTEN="Attempting to connect to device.
Altimeter found! Writing settings...
Settings written successfully."

sim() { zel_drive "$1" "$SIM" "${@:2}" >/dev/null; }
box() { zel_drive text "$DIALOG" "$1"; }
open_dialog() { zel_drive menu 40007 && zel_drive wait-line "$DIALOG" $STATUS "$1"; }
close_dialog() { zel_drive close-window "$DIALOG" && zel_drive wait-closed "$DIALOG"; }

# The status lines added since `mark_status`.
# The box's text ends in CR LF: no empty line after the last.
status_lines() { zel_drive text "$DIALOG" $STATUS | sed '${/^$/d}'; }
mark_status() { status_mark=$(status_lines | wc -l); }
new_status() { status_lines | tail -n +$((status_mark + 1)) | sed '/^$/d'; }
# Waits up to 15 s for a new status line.
wait_status() {
  local tries
  for tries in $(seq 150); do
    new_status | grep -qxF -- "$1" && return 0
    sleep 0.1
  done
  return 1
}

# only_enabled "IDS" "OTHER IDS": the first enabled, the others not.
# shellcheck disable=SC2086
only_enabled() { all_enabled "$DIALOG" $1 && none_enabled "$DIALOG" $2; }
# The worker's last act re-enables the buttons.
wait_idle() { eventually all_enabled "$DIALOG" $READ $WRITE $CALIBRATE; }
# A refusal starts no worker: a line it would add has had time to appear.
still_no_status() {
  sleep 0.2
  [ -z "$(new_status)" ]
}

# choose_line RADIO [BOX VALUE]: clicks a mode radio as the mouse does, then types into a box.
choose_line() {
  zel_drive click-button "$DIALOG" "$1" >/dev/null
  [ $# -lt 3 ] || zel_drive set-text "$DIALOG" "$2" "$3"
}
# A write with no warnings and no values refused: Line A Apogee, Line B Altitude.
quiet_entry() {
  choose_line $A_APOGEE
  choose_line $B_ALTITUDE $B_METRES 150
  zel_drive set-text "$DIALOG" $INHIBIT "${1:-2}"
}
write_settings() {
  mark_status
  zel_drive press "$DIALOG" $WRITE
}

# settings_image A_MODE A_VALUE B_MODE B_VALUE INHIBIT OFFSET: the 16 bytes, as
# the simulator shows them, of a record with the other fields at their defaults.
settings_image() {
  python3 - "$@" <<'PY'
import sys
a_mode, a_value, b_mode, b_value, inhibit, offset = map(int, sys.argv[1:7])
image = [0xE0, 0x03, 0xFF, 0x3C, 0x00, inhibit & 0xFF, inhibit >> 8, 0x50, offset & 0xFF,
         (b_mode << 4) | a_mode, a_value & 0xFF, a_value >> 8, b_value & 0xFF, b_value >> 8]
checksum = sum(byte + i for i, byte in enumerate(image)) & 0xFFFF
print(" ".join("%02X" % byte for byte in image + [checksum & 0xFF, checksum >> 8]))
PY
}
stored_image() { zel_drive text "$SIM" $SIM_SETTINGS | sed -n 's/^Image: //p'; }
stored_fields() { zel_drive text "$SIM" $SIM_SETTINGS | sed -n '2p'; }
# The simulator shows its stored settings every 500 ms.
wait_stored() { zel_drive wait-line "$SIM" $SIM_SETTINGS "Image: $(settings_image "$@")"; }

# A data file of one short flight whose settings record is the image given.
make_data_file() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
magic = bytes.fromhex("785AA7FF3204824C939F892D31A47ABC")
words = [(836 - 6 * i) << 4 for i in range(16)] + [(746 + 6 * i) << 4 for i in range(15)]
packet = bytes([2, 0]) + struct.pack("<31H", *words)
data = magic + struct.pack("<5H", 0x0101, 0x0120, 0x0140, 0x0141, 1) + packet
data += bytes.fromhex(sys.argv[2].replace(" ", "")) + struct.pack("<I", 1) + b"\0"
open(sys.argv[1], "wb").write(data)
PY
}

# How many packets the device's memory holds, read through Download Data
# ("none" when the read did not end within 15 s).
device_packets() {
  local count="" tries
  zel_drive menu 40006 && zel_drive wait-line "$DOWNLOAD" $STATUS "Device Connected." >/dev/null
  zel_drive press "$DOWNLOAD" $DOWNLOAD_READ
  for tries in $(seq 150); do
    count=$(zel_drive text "$DOWNLOAD" $STATUS | sed -n 's/^Packets Read: //p')
    [ -n "$count" ] && break
    sleep 0.1
  done
  zel_drive close-window "$DOWNLOAD" && zel_drive wait-closed "$DOWNLOAD"
  echo "${count:-none}"
}



check "the demonstration program starts" e2e_start_program "$ZEL_BUILD/mingw/app/zelusb-demo.exe"
check "with its simulated altimeter window" zel_drive wait-line "$SIM" 1104 "Plugged in: application mode, firmware 1.41"
sim choose $SIM_MEMORY $MEMORY_THREE

# ---- The record shown on opening: Line A at 3.5 s ----
flight=$E2E_OUT/three-and-a-half.zel
make_data_file "$flight" "$(settings_image $TIME 35 $ALTITUDE 150 20 0)"
check "a data file with Line A at Time 35 opens" zel_open_file "$flight"
check "... and its flight is drawn" more_than "$(pixel_count "$(screenshot_showing opened "$SHOWN_SET")" "$SHOWN_SET")" 100
check "opening the dialog reports the altimeter" open_dialog "Current device firmware version: 1.41"
check "the warning comes first, ending in an empty line, then the report" [ "$(status_lines)" = "Warning!
Writing settings or calibrating will clear the current data on the device!

Device Connected.
Current device firmware version: 1.41" ]
check "Line A's time box shows 3 (seconds)" [ "$(box $A_SECONDS)" = 3 ]
check "... its altitude box 35" [ "$(box $A_METRES)" = 35 ]
check "... and only its time box is enabled" only_enabled $A_SECONDS $A_METRES
check "Line B in Altitude shows 150 (metres)" [ "$(box $B_METRES)" = 150 ]
check "... and only its altitude box is enabled" only_enabled $B_METRES $B_SECONDS
check "the inhibit box shows 2 (seconds)" [ "$(box $INHIBIT)" = 2 ]
check "the ground altitude box starts empty" [ -z "$(box $GROUND)" ]
check "Read, Write and Calibrate are enabled" all_enabled "$DIALOG" $READ $WRITE $CALIBRATE

# ---- Boxes without a whole number are refused before anything is erased ----
# not_whole NAME TEXT: a write now is refused with the message box TEXT.
not_whole() {
  write_settings
  check "$1 is refused" [ "$(zel_drive message-box ok)" = "${BOX}$2 Nothing was written to the device." ]
  check "... starting nothing" [ -z "$(new_status)" ]
}
before=$(stored_image)
zel_drive set-text "$DIALOG" $A_SECONDS 2.5
not_whole "a pasted '2.5' in Line A's time" "Line A's time must be a whole number of seconds."
choose_line $A_ALTITUDE $A_METRES 1,5
not_whole "'1,5' in Line A's altitude" "Line A's altitude must be a whole number of metres."
choose_line $B_TIME $B_SECONDS -3
choose_line $A_TIME $A_SECONDS 3
not_whole "'-3' in Line B's time" "Line B's time must be a whole number of seconds."
choose_line $B_ALTITUDE $B_METRES 12a
not_whole "'12a' in Line B's altitude" "Line B's altitude must be a whole number of metres."
zel_drive set-text "$DIALOG" $B_METRES 150
zel_drive set-text "$DIALOG" $INHIBIT "１２"
not_whole "full-width digits in the inhibit box" "The inhibit time must be a whole number of seconds."
zel_drive set-text "$DIALOG" $INHIBIT 2
zel_drive set-text "$DIALOG" $A_SECONDS 7000
zel_drive set-text "$DIALOG" $GROUND 0
mark_status
zel_drive press "$DIALOG" $CALIBRATE
check "a calibration with Line A time 7000 s is refused as too large" [ "$(zel_drive message-box ok)" = "$TOO_LARGE" ]
check "... and the dialog is idle again" wait_idle
check "... saying only that the calibration failed" [ "$(new_status)" = "Failed to calibrate." ]
check "none of them dropped the flight shown in the main window" \
  more_than "$(pixel_count "$(stable_screenshot refused)" "$SHOWN_SET")" 100
check "... or wrote the device" [ "$(stored_image)" = "$before" ]
# The boxes as the file filled them.
zel_drive set-text "$DIALOG" $A_SECONDS 3
zel_drive set-text "$DIALOG" $A_METRES 35
zel_drive set-text "$DIALOG" $B_SECONDS 15
zel_drive set-text "$DIALOG" $GROUND ""

# ---- Writing them back unchanged ----
write_settings
check "writing them back unchanged succeeds without a warning" wait_status "Settings written successfully."
check "... with its status lines in order" [ "$(new_status)" = "$WRITTEN" ]
check "... the device stores Line A Time 30, the half second gone" wait_stored $TIME 30 $ALTITUDE 150 20 0
check "... shown back: time 3, altitude 30" [ "$(box $A_SECONDS) $(box $A_METRES)" = "3 30" ]
check "... and the flight shown in the main window is dropped" \
  [ "$(pixel_count "$(stable_screenshot dropped)" "$SHOWN_SET")" = 0 ]

# ---- Editing, writing and reading back ----
choose_line $A_ALTITUDE $A_METRES 35
check "choosing Altitude enables only Line A's altitude box" only_enabled $A_METRES $A_SECONDS
choose_line $B_TIME $B_SECONDS 12
zel_drive set-text "$DIALOG" $INHIBIT 3
write_settings
wait_status "Settings written successfully."
check "the edits are stored as the record builds them" wait_stored $ALTITUDE 35 $TIME 120 30 0
for id in $A_SECONDS $A_METRES $B_SECONDS $B_METRES $INHIBIT; do zel_drive set-text "$DIALOG" $id 999; done
mark_status
zel_drive press "$DIALOG" $READ
check "Read Settings succeeds" wait_status "Settings read successfully."
check "... with its status lines in order" [ "$(new_status)" = "Attempting to connect to device.
Altimeter found! Reading settings...
Settings read successfully." ]
check "... showing Line A Altitude 35 as time 3 and altitude 35" [ "$(box $A_SECONDS) $(box $A_METRES)" = "3 35" ]
check "... Line B Time 120 as time 12 and altitude 120" [ "$(box $B_SECONDS) $(box $B_METRES)" = "12 120" ]
check "... the inhibit as 3" [ "$(box $INHIBIT)" = 3 ]
check "... the boxes following the modes read" only_enabled "$A_METRES $B_SECONDS" "$A_SECONDS $B_METRES"
check "... and the buttons are enabled again" wait_idle
choose_line $A_APOGEE $A_METRES 77
write_settings
wait_status "Settings written successfully."
check "Line A in Apogee keeps its value" wait_stored $APOGEE 35 $TIME 120 30 0

# ---- Values that do not fit are refused before anything is erased ----
sim choose $SIM_MEMORY $MEMORY_THREE
before=$(stored_image)
refuse() {
  local name=$1
  shift
  quiet_entry
  "$@"
  write_settings
  check "$name is refused" [ "$(zel_drive message-box ok)" = "$TOO_LARGE" ]
  check "... and the dialog is idle again" wait_idle
  check "... without a status line" [ -z "$(new_status)" ]
}
refuse "Line A time 7000 s" choose_line $A_TIME $A_SECONDS 7000
refuse "Line B time 6554 s" choose_line $B_TIME $B_SECONDS 6554
refuse "Line A altitude 65536 m" choose_line $A_ALTITUDE $A_METRES 65536
refuse "Line B altitude too long to read" choose_line $B_ALTITUDE $B_METRES 99999999999999999999999
refuse "inhibit 6554 s" zel_drive set-text "$DIALOG" $INHIBIT 6554
check "the device's settings are unchanged" [ "$(stored_image)" = "$before" ]
close_dialog
check "... and so are its flights" more_than "$(device_packets)" 10
open_dialog "Device Connected."
quiet_entry
choose_line $A_TIME $A_SECONDS 6553
choose_line $B_ALTITUDE $B_METRES 65535
write_settings
check "the largest values that fit are written" wait_status "Settings written successfully."
check "... exactly: Line A 65530 tenths, Line B 65535 m" wait_stored $TIME 65530 $ALTITUDE 65535 20 0
close_dialog
check "writing erased the flights" [ "$(device_packets)" = 0 ]
open_dialog "Device Connected."

# ---- Warnings ----
quiet_entry 21
write_settings
check "inhibit 21 s warns" [ "$(zel_drive message-box ok)" = "$INHIBIT_LARGE" ]
check "... and writes on" wait_status "Settings written successfully."
check "... 210 tenths" wait_stored $APOGEE 65530 $ALTITUDE 150 210 0
quiet_entry
zel_drive set-text "$DIALOG" $A_SECONDS 2.5  # Apogee does not use it
zel_drive set-text "$DIALOG" $INHIBIT ""
write_settings
check "an empty inhibit box, and a box the mode does not use, write" wait_status "Settings written successfully."
check "... the inhibit as 0" wait_stored $APOGEE 65530 $ALTITUDE 150 0 0
quiet_entry 20
write_settings
check "inhibit 20 s writes without a warning" wait_status "Settings written successfully."
check "... 200 tenths" wait_stored $APOGEE 65530 $ALTITUDE 150 200 0
choose_line $A_DISABLED
choose_line $B_DISABLED
write_settings
check "both lines disabled warn" [ "$(zel_drive message-box ok)" = "$LINES_DISABLED" ]
check "... and write on" wait_status "Settings written successfully."
check "... once" zel_drive no-dialog 300
check "... both disabled" wait_stored $DISABLED 65530 $DISABLED 150 200 0

# ---- Calibration ----
sim set-text $SIM_GROUND 0
sim set-text $SIM_ERROR -6
sim press $SIM_APPLY
quiet_entry
for ground in "" "-5" "44331" "99999999999999999999999"; do
  zel_drive set-text "$DIALOG" $GROUND "$ground"
  mark_status
  zel_drive press "$DIALOG" $CALIBRATE
  check "a ground altitude of '$ground' is refused" [ "$(zel_drive message-box ok)" = "$ENTER_ALTITUDE" ]
  check "... starting nothing" still_no_status
done
zel_drive set-text "$DIALOG" $GROUND 0
mark_status
zel_drive press "$DIALOG" $CALIBRATE
check "calibrating at 0 m completes" wait_status "Calibration complete."
check "... with its status lines in order" [ "$(new_status)" = "Calibrating...
ADC Real: 836
ADC Device: 830
ADC Offset: 6
$WRITTEN
Calibration complete." ]
check "... the device stores offset 6 with the dialog's settings" wait_stored $APOGEE 65530 $ALTITUDE 150 20 6
check "... and the buttons are enabled again" wait_idle
zel_drive set-text "$DIALOG" $GROUND 44330
mark_status
zel_drive press "$DIALOG" $CALIBRATE
check "an offset beyond a signed byte fails the calibration" wait_status "Failed to calibrate."
calibration=$(new_status)
check "... saying why, after the three values" [ "$(sed -n '1p;3p;5,6p' <<<"$calibration")" = "Calibrating...
ADC Device: 830
The offset is out of range: the altimeter can only store -128 to 127.
Failed to calibrate." ]
real=$(sed -n 's/^ADC Real: //p' <<<"$calibration")
check "... whose offset is real minus device" [ "$(sed -n 's/^ADC Offset: //p' <<<"$calibration")" = "$((real - 830))" ]
sleep 0.6  # a refresh of the simulator's text
check "... writing nothing" [ "$(stored_fields)" = "Line A: Apogee 65530; Line B: Altitude 150; inhibit 20; offset 6; checksum ok" ]
check "... and the dialog is idle again" wait_idle

# ---- Failures and device notices ----
icon_colour() { zel_drive pixel "$DIALOG" $ICON 24 24; }
same_icon() { [ "$(icon_colour)" = "$1" ]; }
different_icon() {
  local colour
  colour=$(icon_colour)
  [ -n "$colour" ] && [ "$colour" != "$1" ]
}
connected_icon=$(icon_colour)
sim choose $SIM_FAULT $FAULT_REMOVAL
quiet_entry
write_settings
check "pulling the device mid-write fails it" wait_status "Failed to write settings."
check "... the removal is reported" wait_status "Device disconnected."
check "... after the attempt and the start of the write" [ "$(new_status | head -n 2)" = "Attempting to connect to device.
Altimeter found! Writing settings..." ]
check "... Write and Calibrate are disabled" eventually none_enabled "$DIALOG" $WRITE $CALIBRATE
check "... and the connection icon changes" eventually different_icon "$connected_icon"
mark_status
zel_drive press "$DIALOG" $READ
check "Read Settings without the device finds no altimeter" wait_status "$NOT_FOUND"
check "... and enables Read Settings only" only_enabled $READ "$WRITE $CALIBRATE"
write_settings
check "Write Settings without the device finds no altimeter" wait_status "$NOT_FOUND"
check "... after the attempt" [ "$(new_status)" = "Attempting to connect to device.
$NOT_FOUND" ]
mark_status
zel_drive press "$DIALOG" $CALIBRATE
check "Calibrate without the device finds no altimeter" wait_status "$NOT_FOUND"
check "... alone" [ "$(new_status)" = "$NOT_FOUND" ]
check "... and leaves Read, Write and Calibrate disabled" eventually none_enabled "$DIALOG" $READ $WRITE $CALIBRATE
mark_status
sim press $SIM_PLUG
check "the device arriving is reported" wait_status "Device Connected."
check "... and enables the buttons" wait_idle
check "... showing the connection icon again" eventually same_icon "$connected_icon"
check "the device kept its settings" [ "$(stored_fields)" = "Line A: Apogee 65530; Line B: Altitude 150; inhibit 20; offset 6; checksum ok" ]
sim choose $SIM_FAULT $FAULT_WRONG_CODE
mark_status
zel_drive press "$DIALOG" $READ
check "a read the device answers wrongly fails" wait_status "Failed to read settings."
check "... with its status lines in order" [ "$(new_status)" = "Attempting to connect to device.
Altimeter found! Reading settings...
Failed to read settings." ]
check "... enabling Read Settings only" only_enabled $READ "$WRITE $CALIBRATE"
sim press $SIM_PLUG
check "plugging it in again enables them" wait_idle
sim choose $SIM_FAULT $FAULT_WRONG_CODE
quiet_entry
write_settings
check "a write whose clear the device answers wrongly fails" wait_status "Failed to clear data."
check "... before writing anything" [ "$(new_status)" = "Attempting to connect to device.
Failed to clear data." ]
check "... and the dialog is idle again" wait_idle
sim choose $SIM_FAULT $FAULT_WRONG_CODE
zel_drive set-text "$DIALOG" $GROUND 0
mark_status
zel_drive press "$DIALOG" $CALIBRATE
check "a calibration whose clear the device answers wrongly fails" wait_status "Failed to clear data."
check "... with that line alone" [ "$(new_status)" = "Failed to clear data." ]
check "... and the dialog is idle again" wait_idle
sim choose $SIM_FAULT $FAULT_PRESSURE
mark_status
zel_drive press "$DIALOG" $CALIBRATE
check "a calibration whose pressure read fails says so" wait_status "Failed."
check "... once it has started" [ "$(new_status)" = "Calibrating...
Failed." ]
check "... and the dialog is idle again" wait_idle
sleep 0.6  # a refresh of the simulator's text
check "none of the three wrote the device" \
  [ "$(stored_fields)" = "Line A: Apogee 65530; Line B: Altitude 150; inhibit 20; offset 6; checksum ok" ]
sim press $SIM_STORE_DAMAGED
check "the simulator shows the damaged record it now stores" zel_drive wait-line "$SIM" $SIM_SETTINGS \
  "Line A: Apogee 150; Line B: Altitude 150; inhibit 20; offset 0; checksum bad"
for id in $A_SECONDS $A_METRES $B_SECONDS $B_METRES $INHIBIT; do zel_drive set-text "$DIALOG" $id 999; done
mark_status
zel_drive press "$DIALOG" $READ
check "reading a record with a bad checksum says so" wait_status "Displaying default settings."
check "... with its status lines in order" [ "$(new_status)" = "Attempting to connect to device.
Altimeter found! Reading settings...
Checksum failed. The device settings are invalid.
Displaying default settings." ]
check "... showing the defaults: Line A Apogee 150, Line B Altitude 150, inhibit 2" \
  [ "$(box $A_SECONDS) $(box $A_METRES) $(box $B_SECONDS) $(box $B_METRES) $(box $INHIBIT)" = "15 150 15 150 2" ]
check "... the boxes following their modes" only_enabled "$B_METRES" "$A_SECONDS $A_METRES $B_SECONDS"
check "... and the dialog is idle again" wait_idle

# ---- Resizing and face ----
read -r _ _ width height < <(zel_drive screen-rect "$DIALOG" 0)
read -r closeX closeY _ _ < <(zel_drive rect "$DIALOG" $CLOSE)
read -r calibrateX calibrateY calibrateW _ < <(zel_drive rect "$DIALOG" $CALIBRATE)
read -r statusX statusY statusW statusH < <(zel_drive rect "$DIALOG" $STATUS)
radio=$(zel_drive rect "$DIALOG" $A_TIME)
check "the dialog grows by 40 pixels" [ "$(zel_drive size "$DIALOG" $((width + 40)) $((height + 40)))" = "$((width + 40)) $((height + 40))" ]
check "Close moves with the bottom-right corner" \
  [ "$(zel_drive rect "$DIALOG" $CLOSE | cut -d' ' -f1,2)" = "$((closeX + 40)) $((closeY + 40))" ]
check "Calibrate Device moves right, keeping its top and width" \
  [ "$(zel_drive rect "$DIALOG" $CALIBRATE | cut -d' ' -f1-3)" = "$((calibrateX + 40)) $calibrateY $calibrateW" ]
check "the status box grows both ways" \
  [ "$(zel_drive rect "$DIALOG" $STATUS)" = "$statusX $statusY $((statusW + 40)) $((statusH + 40))" ]
check "the mode radios stay" [ "$(zel_drive rect "$DIALOG" $A_TIME)" = "$radio" ]
check "it cannot be made smaller than it opened" [ "$(zel_drive size "$DIALOG" 100 100)" = "$width $height" ]
zel_drive size "$DIALOG" "$width" "$height" >/dev/null
check_dialog_face "$DIALOG" 50000 100 1500

# ---- The close handshake ----
mark_log
close_dialog
check "closing with no worker ends at once" logged_since_mark "Thread has exited."
check "... and DESTRUCT" logged_since_mark "DESTRUCT"
open_dialog "Device Connected."
sim choose $SIM_FAULT $FAULT_SILENCE
zel_drive press "$DIALOG" $READ
zel_drive wait-line "$DIALOG" $STATUS "Altimeter found! Reading settings..."
mark_log
close_dialog
check "closing while the device is silent reposts the close every 100 ms" \
  [ "$(log_text | tail -n +$((log_mark + 1)) | grep -cx 'Reposting close message...')" -gt 5 ]
check "... until the worker has returned" logged_since_mark "Thread has exited."
sim press $SIM_PLUG

e2e_finish
