#!/usr/bin/env bash
# Control Options against the demonstration program's simulated altimeter: the
# buttons by link state and displayed flight, a pressure reading converted with
# the device's own offset (or, its record damaged, the default one) while a
# loaded file keeps its own, the battery,
# firing the lines, a launch emulation of a downloaded flight, closing in the
# middle of one and while its message box is up, device notices, re-plugging
# the altimeter during an emulation, resizing and the dialog's face.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly DIALOG="Control Options" DOWNLOAD="Download Data" SIM="Simulated altimeter"
readonly STATUS=1003 CLOSE=1004 EMULATE=1039 PRESSURE=1040 BATTERY=1041 FIRE=1042 DOWNLOAD_READ=1006
readonly SIM_PLUG=1101 SIM_PULL=1103 SIM_FAULT=1120
readonly SIM_SENSOR_ERROR=1131 SIM_BATTERY=1132 SIM_APPLY=1133 SIM_STORED_OFFSET=1134 SIM_STORE=1135
readonly SIM_SETTINGS=1140 SIM_FIRINGS=1141 SIM_STORE_DAMAGED=1147
readonly FAULT_NONE=0 FAULT_WRONG_CODE=3
readonly ALL="$EMULATE $PRESSURE $BATTERY $FIRE " BENCH="$PRESSURE $BATTERY $FIRE "
readonly BATTERY_BOX=$'ZEL USB 1.41\nYou may now connect the battery to the device if you want a real time launch. Click OK when connected or ignore.'

status_has() { zel_drive wait-line "$DIALOG" $STATUS "$1"; }
# The status box's lines; the last one ends in CR LF like the others.
status_lines() { zel_drive text "$DIALOG" $STATUS | sed '${/^$/d}'; }
open_dialog() { zel_drive menu 40014 && status_has "Device Connected."; }
close_dialog() { zel_drive close-window "$DIALOG" && zel_drive wait-closed "$DIALOG"; }
sim() { zel_drive "$1" "$SIM" "${@:2}" >/dev/null; }


enabled_buttons() { zel_drive enabled "$DIALOG" | grep -xE "$EMULATE|$PRESSURE|$BATTERY|$FIRE" | tr '\n' ' '; }
buttons_are() { [ "$(enabled_buttons)" = "$1" ]; }
# A worker enables the buttons just after its last line.
buttons_become() { eventually buttons_are "$1"; }

# The status lines after the last one that is exactly $1 (none when it is missing).
lines_after() {
  status_lines | awk -v from="$1" '{ line[NR] = $0 } $0 == from { n = NR } END { if (n) for (i = n + 1; i <= NR; i++) print line[i] }'
}
ends_with() { [ "$(lines_after "$1" | tail -n 1)" = "$2" ]; }
# wait_for_last AFTER LAST: the lines after AFTER end with LAST within 30 s.
wait_for_last() {
  local tries
  for tries in $(seq 100); do
    ends_with "$1" "$2" && return 0
    sleep 0.1
  done
  return 1
}
connected_reports() { [ "$(status_lines | grep -cxF "Device Connected.")" -ge "$1" ]; }

download_can_close() { zel_drive enabled "$DOWNLOAD" | grep -qx $CLOSE; }
download_says() { zel_drive text "$DOWNLOAD" $STATUS | tr -d '\r' | grep -qxF -- "$1"; }
not() { ! "$@"; }


sim_has() { zel_drive text "$SIM" "$1" | grep -qF -- "$2"; }
# The simulator window shows its device anew every 500 ms.
sim_shows() { eventually sim_has "$@"; }
# "A B": how often each line has fired in the simulated altimeter.
firings() { zel_drive text "$SIM" $SIM_FIRINGS | sed -n 's/^Line A fired: \([0-9]*\); Line B fired: \([0-9]*\)$/\1 \2/p'; }

# The program's message box is the topmost window.
message_box_on_top() { zel_drive windows | head -n 1 | grep -q '^#32770 "ZEL USB 1.41"'; }

check "the demonstration program starts" e2e_start_program "$ZEL_BUILD/mingw/app/zelusb-demo.exe"
check "with its simulated altimeter window" zel_drive wait-line "$SIM" 1104 "Plugged in: application mode, firmware 1.41"

# At 150 m the sensor reads 820; 13 counts high it reads 833, and the device stores +3.
sim set-text $SIM_SENSOR_ERROR 13
sim set-text $SIM_BATTERY 9.4
sim press $SIM_APPLY
sim set-text $SIM_STORED_OFFSET 3
sim press $SIM_STORE
check "the simulated altimeter stores offset 3" sim_shows $SIM_SETTINGS "offset 3;"

# ---- With no flight displayed ----
check "opening reports the connected altimeter" open_dialog
check "with no flight displayed Emulate Launch... is disabled, the other three enabled" buttons_become "$BENCH"

mark_log
zel_drive press "$DIALOG" $PRESSURE
check "Read Pressure ends with the altitude" status_has "Current MSL Altitude: 4.79904 Meters"
expected="
Current ADC: 833
Current Voltage: 4.08203 Volts
Current Pressure: 101.267 kPa
Current MSL Altitude: 4.79904 Meters"
check "... after an empty line, converted with the device's offset +3 as 836 reads" \
  [ "$(status_lines | tail -n 5)" = "$expected" ]
check "... logging the count in hexadecimal" logged_since_mark "ADC: 0x341"
check "... and the buttons come back" buttons_become "$BENCH"
dialog_shot "$DIALOG" pressure >/dev/null

sim press $SIM_STORE_DAMAGED
zel_drive press "$DIALOG" $PRESSURE
check "a stored record with a bad checksum is said to be invalid" \
  status_has "The device settings are invalid: converting with the default calibration offset."
buttons_become "$BENCH"
# 833 counts as they are: 833 / 1024 of 5 V.
check "... before the reading, converted with offset 0" \
  [ "$(lines_after "The device settings are invalid: converting with the default calibration offset." | head -n 3)" = "
Current ADC: 833
Current Voltage: 4.06738 Volts" ]
sim press $SIM_STORE  # offset 3 again, in a sound record

zel_drive press "$DIALOG" $BATTERY
check "Read Battery Voltage shows a 9.4 V battery" status_has "Current Voltage: 9.4 Volts"
buttons_become "$BENCH"

check "no line has fired yet" [ "$(firings)" = "0 0" ]
zel_drive press "$DIALOG" $FIRE
check "Fire lines says so and ends with Done." wait_for_last "Firing both lines for 2 seconds..." "Done."
check "... having fired both lines of the device" sim_shows $SIM_FIRINGS "Line A fired: 1; Line B fired: 1"
buttons_become "$BENCH"

sim choose $SIM_FAULT $FAULT_WRONG_CODE
zel_drive press "$DIALOG" $FIRE
check "a wrong completion code is reported as a failure" \
  wait_for_last "Firing both lines for 2 seconds..." "Failed."
sim choose $SIM_FAULT $FAULT_NONE
buttons_become "$BENCH"

sim press $SIM_PULL
check "pulling the altimeter out says so" status_has "Device disconnected."
check "... and disables all four buttons" buttons_become ""
zel_drive press "$DIALOG" $BATTERY  # as the button would, were it enabled
check "a worker without the altimeter says so" \
  status_has "Altimeter not found. Make sure it is properly connected to the PC."
sim press $SIM_PLUG
close_dialog

# ---- The settings in effect stay those of a loaded file ----
make_samples
sample=$E2E_OUT/samples/sample-flight.zel
check "a sample flight with offset 0 opens" zel_open_file "$sample"
open_dialog
zel_drive press "$DIALOG" $PRESSURE
status_has "Current MSL Altitude: 4.79904 Meters"
close_dialog
exported=$E2E_OUT/after-reading.csv
zel_drive menu 40009
zel_drive file-dialog "Export to CSV" "$(windows_path "$exported")"
wait_for_file "$exported"
"$E2E_ZELTOOL" csv "$sample" "$E2E_OUT/sample-zeltool.csv" >/dev/null 2>&1
check "after a reading the file's export still converts with the file's offset" \
  cmp -s "$exported" "$E2E_OUT/sample-zeltool.csv"

# ---- A downloaded flight, emulated ----
zel_drive menu 40006
zel_drive wait-line "$DOWNLOAD" $STATUS "Device Connected."
zel_drive press "$DOWNLOAD" $DOWNLOAD_READ
zel_drive wait-line "$DOWNLOAD" $STATUS "Data read successfully."
# In hexadecimal: the settings read left the log so.
packets=$((16#$(log_text | sed -n 's/^Packets read: //p' | tail -n 1)))
zel_drive wait-line "$DOWNLOAD" $STATUS "Packets Read: $packets"
# A close before the download's worker has ended would drop what it read.
eventually download_can_close
zel_drive click-button "$DOWNLOAD" $CLOSE
check "a downloaded flight is handed to the main window" zel_drive wait-closed "$DOWNLOAD"

open_dialog
check "with a flight displayed all four buttons are enabled" buttons_become "$ALL"
sim press $SIM_PULL
status_has "Device disconnected."
check "a removal notice disables all four" buttons_become ""
sim press $SIM_PLUG
check "an arrival runs the connection report again" eventually connected_reports 2
check "... and enables all four again" buttons_become "$ALL"

before=$(firings)
mark_log
zel_drive press "$DIALOG" $EMULATE
check "Emulate Launch... first invites to connect the battery" [ "$(zel_drive message-box ok)" = "$BATTERY_BOX" ]
check "the emulation runs to its end" wait_for_last "Emulating..." "Done."
events="Launch detected.
Apogee detected.
Line A fired.
Line B fired.
Device indicates end of launch.
Done."
check "... showing the flight's events in order" [ "$(lines_after "Emulating..." | grep -v '^Launch Time (s): ')" = "$events" ]
seconds=$(lines_after "Emulating..." | sed -n 's/^Launch Time (s): //p')
check "... and a line for each second flown, from 0" [ "$seconds" = "$(seq 0 "$(tail -n 1 <<<"$seconds")")" ]
check "... through the whole flight" more_than "$(tail -n 1 <<<"$seconds")" 10
check "... while the device fired each line once more" \
  [ "$(firings)" = "$(awk '{ print $1 + 1, $2 + 1 }' <<<"$before")" ]
check "... and the device sequence ended by the device" logged_since_mark "Device indicates end of launch."
buttons_become "$ALL"
dialog_shot "$DIALOG" emulated >/dev/null
close_dialog

# ---- Closing in the middle of an emulation ----
open_dialog
zel_drive press "$DIALOG" $EMULATE
zel_drive message-box ok >/dev/null
status_has "Launch Time (s): 2"
mark_log
check "closing during an emulation ends the dialog" close_dialog
check "... the emulation stopping at the next sample request" logged_since_mark "User ended emulation."
check "... after which no sample is sent" \
  [ "$(log_since_mark | sed -n '/^User ended emulation\.$/,$p' | grep -c '^The device is requesting ADC data')" = 0 ]
check "... the device not running to its end" not logged_since_mark "Device indicates end of launch."
check "... the close handshake waiting for the worker" logged_since_mark "Waiting for thread to close..."
check "... until it has ended" logged_since_mark "Thread has exited."
check "... before it is destroyed" logged_since_mark "DESTRUCT"

# ---- Closing while the battery message is up ----
open_dialog
mark_log
zel_drive press "$DIALOG" $EMULATE
eventually message_box_on_top
zel_drive close-window "$DIALOG"
zel_drive message-box ok >/dev/null
check "a close while the battery message is up ends the dialog once it is answered" zel_drive wait-closed "$DIALOG"
check "... starting no emulation" not logged_since_mark "Emulating Launch..."
check "... and the program goes on" open_dialog

# ---- Re-plugged during an emulation ----
# The altimeter, on its battery, goes on emulating while it is out; the
# connection brings it back to its commands before it is reported.
emulation_at_second_2() { lines_after "Emulating..." | grep -qx "Launch Time (s): 2"; }
emulations() { status_lines | grep -cxF "Emulating..."; }
more_emulations_than() { [ "$(emulations)" -gt "$1" ]; }
# cut_emulation: starts an emulation and pulls the altimeter out in its middle
# (its own second 2, not an earlier emulation's, which a busy machine may
# still show last).
cut_emulation() {
  local before
  before=$(emulations)
  zel_drive press "$DIALOG" $EMULATE
  zel_drive message-box ok >/dev/null
  eventually more_emulations_than "$before" && eventually emulation_at_second_2 && sim press $SIM_PULL &&
    wait_for_last "Emulating..." "Failed."
}
check "pulling the altimeter out during an emulation fails it" cut_emulation
sim press $SIM_PLUG
check "plugging it in again reports it connected" eventually connected_reports 2
buttons_become "$ALL"
zel_drive press "$DIALOG" $BATTERY
check "... and Read Battery Voltage works at the first press" \
  wait_for_last "Current device firmware version: 1.41" "Current Voltage: 9.4 Volts"
check "... with no failure between" \
  [ "$(lines_after "Current device firmware version: 1.41")" = "Current Voltage: 9.4 Volts" ]
buttons_become "$ALL"
dialog_shot "$DIALOG" replugged >/dev/null

check "an emulation cut the same way" cut_emulation
close_dialog
sim press $SIM_PLUG
zel_drive menu 40006
zel_drive wait-line "$DOWNLOAD" $STATUS "Device Connected."
zel_drive press "$DOWNLOAD" $DOWNLOAD_READ
eventually download_can_close
check "... leaves Read Data working at the first press" zel_drive wait-line "$DOWNLOAD" $STATUS "Data read successfully."
check "... with no failure before" not download_says "Failed to read settings."
zel_drive click-button "$DOWNLOAD" $CLOSE
zel_drive wait-closed "$DOWNLOAD"
open_dialog

# ---- Resizing and face ----
read -r _ _ width height < <(zel_drive screen-rect "$DIALOG" 0)
read -r closeX closeY _ _ < <(zel_drive rect "$DIALOG" $CLOSE)
read -r statusX statusY statusWidth statusHeight < <(zel_drive rect "$DIALOG" $STATUS)
emulate=$(zel_drive rect "$DIALOG" $EMULATE)
check "the dialog grows by 40 pixels" \
  [ "$(zel_drive size "$DIALOG" $((width + 40)) $((height + 40)))" = "$((width + 40)) $((height + 40))" ]
check "Close moves with the bottom-right corner" \
  [ "$(zel_drive rect "$DIALOG" $CLOSE | cut -d' ' -f1,2)" = "$((closeX + 40)) $((closeY + 40))" ]
check "the status box grows both ways" \
  [ "$(zel_drive rect "$DIALOG" $STATUS)" = "$statusX $statusY $((statusWidth + 40)) $((statusHeight + 40))" ]
check "the buttons stay" [ "$(zel_drive rect "$DIALOG" $EMULATE)" = "$emulate" ]
check "it cannot be made smaller than it opened" [ "$(zel_drive size "$DIALOG" 100 100)" = "$width $height" ]
zel_drive size "$DIALOG" "$width" "$height" >/dev/null
check_dialog_face "$DIALOG" 30000 30 800
zel_drive key "$DIALOG" 27
check "Escape closes the dialog" zel_drive wait-closed "$DIALOG"

e2e_finish
