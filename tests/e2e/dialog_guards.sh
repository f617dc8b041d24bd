#!/usr/bin/env bash
# What the tool dialogs keep from going wrong around their jobs: About ignores
# device notices; Download Data enables nothing for a selection left from an
# earlier download, shows an empty comment for a set that has none stored and
# says nothing saved when there is no set; Device Settings writes the entry as
# it was when the button was pressed, and a refused write keeps the downloaded
# flights.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly SIM="Simulated altimeter" ABOUT="About" DOWNLOAD="Download Data" SETTINGS="Program Chip"
readonly STATUS=1003 CLOSE=1004
readonly SAVE_SELECTED=1002 READ=1006 SAVE_ALL=1007 SAVE_COMMENT=1008 STRIP=1031 COMMENT=1046
readonly WRITE=1005 A_SECONDS=1009 A_TIME=1014 A_APOGEE=1016 B_APOGEE=1020 INHIBIT=1023 CALIBRATE=1035 GROUND=1039
readonly SIM_PLUG=1101 SIM_PULL=1103 SIM_MEMORY=1110 SIM_SETTINGS=1140
readonly MEMORY_ONE=1 MEMORY_THREE=2
readonly TOO_LARGE=$'ZEL USB 1.41\nA setting is too large for the altimeter. Times and the inhibit can be at most 6553 seconds, altitudes at most 65535 m. Nothing was written to the device.'

sim() { zel_drive "$1" "$SIM" "${@:2}" >/dev/null; }
open_dialog() { zel_drive menu "$1" && zel_drive wait-line "$2" $STATUS "$3"; }
close_dialog() { zel_drive close-window "$1" && zel_drive wait-closed "$1"; }
download() {
  open_dialog 40006 "$DOWNLOAD" "Device Connected." &&
    zel_drive press "$DOWNLOAD" $READ &&
    zel_drive wait-line "$DOWNLOAD" $STATUS "Data read successfully." >/dev/null &&
    eventually all_enabled "$DOWNLOAD" $READ
}
# click_set N: clicks the strip on the N-th coloured run (from 1).
click_set() { zel_drive click "$DOWNLOAD" $STRIP "$(run_x "$(strip_runs_of "$DOWNLOAD" $STRIP)" "$1")"; }
# An entry that writes without a warning: both lines by apogee, a short inhibit.
quiet_entry() {
  zel_drive click-button "$SETTINGS" $A_APOGEE >/dev/null
  zel_drive click-button "$SETTINGS" $B_APOGEE >/dev/null
  zel_drive set-text "$SETTINGS" $INHIBIT 2
}
# line_a_stored PREFIX: the simulator's stored record begins so.
line_a_stored() { zel_drive text "$SIM" $SIM_SETTINGS | sed -n '2p' | grep -q "^$1"; }

check "the demonstration program starts" e2e_start_program "$ZEL_BUILD/mingw/app/zelusb-demo.exe"
check "with its simulated altimeter window" zel_drive wait-line "$SIM" 1104 "Plugged in: application mode, firmware 1.41"

# ---- About knows nothing of devices ----
zel_drive menu 40010
check "About opens with its text" zel_drive wait-line "$ABOUT" $STATUS "Hardware version 1.2x"
about_text=$(zel_drive text "$ABOUT" $STATUS)
mark_log
sim press $SIM_PULL
zel_drive wait-line "$SIM" 1104 "Not plugged in" >/dev/null
sim press $SIM_PLUG
zel_drive wait-line "$SIM" 1104 "Plugged in: application mode, firmware 1.41" >/dev/null
sleep 0.3
check "the device pulled out and plugged in again leaves About's text as it was" \
  [ "$(zel_drive text "$ABOUT" $STATUS)" = "$about_text" ]
check "... and About does not even note the change" bash -c '! grep -q "Device Change." <<<"$1"' _ "$(log_since_mark)"
close_dialog "$ABOUT"

# ---- A selection left from a larger download ----
sim choose $SIM_MEMORY $MEMORY_THREE
check "three flights download" download
click_set 3
check "the third set is selected" eventually all_enabled "$DOWNLOAD" $SAVE_SELECTED
close_dialog "$DOWNLOAD"
sim choose $SIM_MEMORY $MEMORY_ONE
check "one flight downloads" download
read -r _ _ strip_width _ < <(zel_drive rect "$DOWNLOAD" $STRIP)
zel_drive click "$DOWNLOAD" $STRIP $((strip_width - 3))
sleep 0.3
check "a click past the last packet, with the third set still remembered, enables no saving" \
  none_enabled "$DOWNLOAD" $SAVE_SELECTED $SAVE_COMMENT $COMMENT
close_dialog "$DOWNLOAD"

# ---- A set without a stored comment ----
sim choose $SIM_MEMORY $MEMORY_THREE
check "three flights download again" download
close_dialog "$DOWNLOAD"
# A calibration erases the device, and its comments, but keeps the packets read.
open_dialog 40007 "$SETTINGS" "Device Connected."
quiet_entry
zel_drive set-text "$SETTINGS" $GROUND 150
zel_drive press "$SETTINGS" $CALIBRATE
check "a calibration completes" zel_drive wait-line "$SETTINGS" $STATUS "Calibration complete."
close_dialog "$SETTINGS"
open_dialog 40006 "$DOWNLOAD" "Device Connected."
click_set 1
check "the first set is selected" eventually all_enabled "$DOWNLOAD" $COMMENT
zel_drive set-text "$DOWNLOAD" $COMMENT "typed for the first set"
click_set 2
check "the next set, with no comment stored, shows an empty comment box" \
  [ -z "$(zel_drive text "$DOWNLOAD" $COMMENT)" ]
close_dialog "$DOWNLOAD"

# ---- Save All with packets but no set ----
nosets=$E2E_OUT/no-sets.zel
python3 - "$nosets" <<'PY'
import struct, sys
magic = bytes.fromhex("785AA7FF3204824C939F892D31A47ABC")
packet = bytes([1, 0]) + struct.pack("<31H", *[836 << 4] * 31)  # continues a set it does not hold
image = [0xE0, 0x03, 0xFF, 0x3C, 0x00, 20, 0, 0x50, 0, 0x32, 35, 0, 150, 0]
checksum = sum(byte + i for i, byte in enumerate(image)) & 0xFFFF
settings = bytes(image + [checksum & 0xFF, checksum >> 8])
data = magic + struct.pack("<5H", 0x0101, 0x0120, 0x0140, 0x0141, 1) + packet + settings
open(sys.argv[1], "wb").write(data + struct.pack("<I", 1) + b"\0")
PY
check "a file whose packet starts no set opens" zel_open_file "$nosets"
open_dialog 40006 "$DOWNLOAD" "Device Connected."
zel_drive press "$DOWNLOAD" $SAVE_ALL
check "Save All with no set saves nothing and says nothing" zel_drive no-dialog 1000
close_dialog "$DOWNLOAD"

# ---- Device Settings writes what was pressed ----
sim choose $SIM_MEMORY $MEMORY_THREE  # the calibration erased them
check "three flights download" download
close_dialog "$DOWNLOAD"
open_dialog 40007 "$SETTINGS" "Device Connected."
quiet_entry
zel_drive click-button "$SETTINGS" $A_TIME >/dev/null
zel_drive set-text "$SETTINGS" $A_SECONDS 7000
zel_drive press "$SETTINGS" $WRITE
check "a time too large is refused" [ "$(zel_drive message-box ok)" = "$TOO_LARGE" ]
close_dialog "$SETTINGS"
open_dialog 40006 "$DOWNLOAD" "Device Connected."
check "... and the downloaded flights are still there to save" all_enabled "$DOWNLOAD" $SAVE_ALL
close_dialog "$DOWNLOAD"

open_dialog 40007 "$SETTINGS" "Device Connected."
quiet_entry
zel_drive click-button "$SETTINGS" $A_TIME >/dev/null
zel_drive set-text "$SETTINGS" $A_SECONDS 5
zel_drive set-text "$SETTINGS" $GROUND 150
# The box changes the moment the calibration has started.
zel_drive press-then-set-text "$SETTINGS" $CALIBRATE $A_SECONDS 7
check "the calibration completes" zel_drive wait-line "$SETTINGS" $STATUS "Calibration complete."
check "... and writes Line A as it was when Calibrate was pressed" eventually line_a_stored "Line A: Time 50;"
close_dialog "$SETTINGS"

e2e_finish
