#!/usr/bin/env bash
# Download Data against the demonstration program's simulated altimeter: the
# connection report and device notices, a download with its memory strip,
# selections, comments, saves with their CSV files and saves that fail or are
# cancelled, clearing, closing and pulling the device mid-download, the
# hand-back to the main window, resizing, the dialog's face, and a WM_QUIT
# mid-download.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly DIALOG="Download Data" SIM="Simulated altimeter"
readonly SAVE_SELECTED=1002 STATUS=1003 CLOSE=1004 READ=1006 SAVE_ALL=1007 SAVE_COMMENT=1008 CLEAR=1011
readonly CSV=1030 STRIP=1031 LIVE=1032 COMMENT=1046
readonly SIM_PLUG=1101 SIM_BOOTLOADER=1102 SIM_PULL=1103 SIM_FIRMWARE=1105 SIM_MEMORY=1110 SIM_PACED=1111 SIM_FAULT=1120
readonly MEMORY_THREE=2 MEMORY_FULL=3 FAULT_SILENCE=1
readonly EVEN_SET='#4020FF' ODD_SET='#4060DF' SELECTED='#FF0000' EMPTY='#000000'
readonly LIVE_GREY='#808080'
readonly SAVED=$'ZEL USB 1.41\nData set/s saved succesfully.'
readonly SAVE_FAILED=$'ZEL USB 1.41\nError saving file. Make sure that it is not write protected or locked, and that the disk has enough space.'
readonly CSV_FAILED=$'ZEL USB 1.41\nFailed to save the CSV file. Make sure that it is not write protected or locked, and that the disk has enough space.'

status_has() { zel_drive wait-line "$DIALOG" $STATUS "$1"; }
status_lines() { zel_drive text "$DIALOG" $STATUS; }
open_dialog() { zel_drive menu 40006 && zel_drive wait-line "$DIALOG" $STATUS "$1"; }
close_dialog() { zel_drive close-window "$DIALOG" && zel_drive wait-closed "$DIALOG"; }
sim() { zel_drive "$1" "$SIM" "${@:2}" >/dev/null; }

strip_runs() { strip_runs_of "$DIALOG" $STRIP; }

# click_strip X COLOURS: clicks the strip until it shows those runs; a click
# while the worker is still on its way out is ignored.
click_strip() {
  local tries
  for tries in $(seq 20); do
    zel_drive click "$DIALOG" $STRIP "$1"
    [ "$(colours_of "$(strip_runs)")" = "$2" ] && return 0
    sleep 0.2
  done
  return 1
}


check "the demonstration program starts" e2e_start_program "$ZEL_BUILD/mingw/app/zelusb-demo.exe"
check "with its simulated altimeter window" zel_drive wait-line "$SIM" 1104 "Plugged in: application mode, firmware 1.41"

# ---- Connection report and device notices ----
check "opening reports the connected altimeter" open_dialog "Device Connected."
check "... with its firmware version" status_has "Current device firmware version: 1.41"
check "Read Data and Clear Device are enabled" all_enabled "$DIALOG" $READ $CLEAR
check "... saving is not, with nothing read" none_enabled "$DIALOG" $SAVE_ALL $SAVE_SELECTED $SAVE_COMMENT
sim press $SIM_PULL
check "pulling it out says so" status_has "Device disconnected."
check "... and disables Read Data and Clear Device" none_enabled "$DIALOG" $READ $CLEAR
sim press $SIM_BOOTLOADER
check "a bootloader arriving is reported" status_has "Device found, but is in bootloader mode."
check "... with the advice" status_has "Please reconnect the device."
sim set-text $SIM_FIRMWARE 013A
sim press $SIM_PLUG
check "firmware 0x013A is incompatible" status_has "Device found, but has incompatible firmware version."
check "... reads 1.3a" status_has "Current device firmware version: 1.3a"
check "... against 1.40" status_has "Required device firmware version: 1.40"
sim set-text $SIM_FIRMWARE 0141
sim press $SIM_PLUG
check "the right firmware arriving connects" status_has "Device Connected."
check "Read Data is enabled again" all_enabled "$DIALOG" $READ $CLEAR
mark_log
check "closing with no worker ends at once" close_dialog
check "... logging the handshake" [ "$(log_since_mark | grep -A2 -x 'Canceled IO.' | tr '\n' '|')" = \
  'Canceled IO.|Waiting for thread to close...|Thread has exited.|' ]
check "... and DESTRUCT" wait_for_log "DESTRUCT"
sim press $SIM_PULL
check "with no altimeter the report says so" open_dialog "Device not found."
close_dialog
sim press $SIM_PLUG

# ---- Read Data ----
open_dialog "Device Connected."
zel_drive press "$DIALOG" $READ
check "Read Data ends" status_has "Data read successfully."
# In hexadecimal: the settings read left the log so.
packets=$((16#$(log_text | sed -n 's/^Packets read: //p' | tail -n 1)))
check "three flights download some packets" more_than "${packets:-0}" 10
status_has "Packets Read: $packets"
expected="Attempting to connect to device.
Altimeter found! Reading settings...
Settings read successfully.
Reading data...
$(for ((i = 0; i < packets; i++)); do echo "Packet Read: $i"; done)
Data read successfully.
Packets Read: $packets"
check "status lines in order" [ "$(status_lines | sed -n '/^Attempting/,$p' | tr -d '\r')" = "$expected" ]
runs=$(strip_runs)
# The set the main window shows (set 0 at first) starts out selected.
check "the strip shows three sets, the first selected, then empty memory" \
  [ "$(colours_of "$runs")" = "$SELECTED $ODD_SET $EVEN_SET $EMPTY" ]
check "Save All, Save Selected and Select && Close are enabled once sets are read" \
  all_enabled "$DIALOG" $SAVE_ALL $SAVE_SELECTED $CLOSE

check "a click on the second set selects it in red, the others in alternating blues" \
  click_strip "$(run_x "$runs" 2)" "$EVEN_SET $SELECTED $EVEN_SET $EMPTY"
check "... logging where" bash -c "tr -d '\r' <'$E2E_LOG' | grep -q '^XPos: '"
check "... and the comment can be edited" all_enabled "$DIALOG" $SAVE_SELECTED $SAVE_COMMENT $COMMENT
check "a click right of the last packet keeps the selection" \
  click_strip "$(run_x "$runs" 4)" "$EVEN_SET $SELECTED $EVEN_SET $EMPTY"

# ---- Comment, Save Selected with its CSV ----
zel_drive set-text "$DIALOG" $COMMENT "Second flight, windy"
zel_drive press "$DIALOG" $SAVE_COMMENT
zel_drive check "$DIALOG" $CSV 1
saved=$E2E_OUT/second.zel
zel_drive press "$DIALOG" $SAVE_SELECTED
check "Save Selected asks for set 2" zel_drive file-dialog "Save data set 2" "$(windows_path "$saved")"
check "... and says it saved" [ "$(zel_drive message-box ok)" = $'ZEL USB 1.41\nData set/s saved succesfully.' ]
check "the data file reloads" "$E2E_ZELTOOL" info "$saved" >/dev/null
"$E2E_ZELTOOL" info "$saved" >"$E2E_OUT/second.info" 2>&1
check "... with its comment" grep -q "Second flight, windy" "$E2E_OUT/second.info"
"$E2E_ZELTOOL" csv "$saved" "$E2E_OUT/second-zeltool.csv" >/dev/null 2>&1
check "the CSV beside it is zeltool's export of it" cmp -s "$E2E_OUT/second.csv" "$E2E_OUT/second-zeltool.csv"

# ---- Save All ----
zel_drive press "$DIALOG" $SAVE_ALL
for n in 1 2 3; do
  check "Save All asks for set $n" zel_drive file-dialog "Save data set $n" "$(windows_path "$E2E_OUT/all-$n.ZEL")"
done
check "... then says it saved, once" [ "$(zel_drive message-box ok)" = $'ZEL USB 1.41\nData set/s saved succesfully.' ]
check "three data files and three CSV files" \
  bash -c "ls '$E2E_OUT'/all-{1,2,3}.ZEL '$E2E_OUT'/all-{1,2,3}.csv >/dev/null"

# ---- Saves that fail, and Save All cancelled part-way ----
files_named() { (cd "$E2E_OUT" && echo "$1"*); }
reloads() { "$E2E_ZELTOOL" info "$1" >/dev/null 2>&1; }
# The data file, and the folder that stood in the CSV's way still empty.
only_data_file_beside() { [ "$(files_named taken)" = "taken.csv taken.zel" ] && [ -z "$(ls -A "$E2E_OUT/taken.csv")" ]; }
zel_drive press "$DIALOG" $SAVE_SELECTED
zel_drive file-dialog "Save data set 2" "$(windows_path "$E2E_OUT/missing/second.zel")"
check "a data file in a folder that does not exist fails with its message" \
  [ "$(zel_drive message-box ok)" = "$SAVE_FAILED" ]
check "... creating nothing" [ ! -e "$E2E_OUT/missing" ]
mkdir "$E2E_OUT/taken.csv"  # where the CSV would go
zel_drive press "$DIALOG" $SAVE_SELECTED
zel_drive file-dialog "Save data set 2" "$(windows_path "$E2E_OUT/taken.zel")"
check "a CSV that cannot be written fails with its own message" [ "$(zel_drive message-box ok)" = "$CSV_FAILED" ]
check "... the data file saved before it reloading" reloads "$E2E_OUT/taken.zel"
check "... and nothing left beside it" only_data_file_beside
zel_drive press "$DIALOG" $SAVE_ALL
zel_drive file-dialog "Save data set 1" "$(windows_path "$E2E_OUT/part-1.zel")"
check "Save All cancelled at the second set ends" zel_drive cancel-dialog "Save data set 2"
check "... without saying it saved" zel_drive no-dialog 500
check "... keeping the first set's files" [ "$(files_named part-)" = "part-1.csv part-1.zel" ]

# ---- Resizing and face ----
read -r _ _ width height < <(zel_drive screen-rect "$DIALOG" 0)
read -r _ _ csvWidth _ < <(zel_drive rect "$DIALOG" $COMMENT)
read -r saveAllX saveAllY _ _ < <(zel_drive rect "$DIALOG" $SAVE_ALL)
read -r statusX statusY statusWidth statusHeight < <(zel_drive rect "$DIALOG" $STATUS)
check "the dialog grows by 40 pixels" [ "$(zel_drive size "$DIALOG" $((width + 40)) $((height + 40)))" = "$((width + 40)) $((height + 40))" ]
check "Save All moves with the bottom-right corner" \
  [ "$(zel_drive rect "$DIALOG" $SAVE_ALL | cut -d' ' -f1,2)" = "$((saveAllX + 40)) $((saveAllY + 40))" ]
check "the comment box widens" [ "$(zel_drive rect "$DIALOG" $COMMENT | cut -d' ' -f3)" = "$((csvWidth + 40))" ]
check "the status box grows both ways" \
  [ "$(zel_drive rect "$DIALOG" $STATUS)" = "$statusX $statusY $((statusWidth + 40)) $((statusHeight + 40))" ]
check "it cannot be made smaller than it opened" [ "$(zel_drive size "$DIALOG" 100 100)" = "$width $height" ]
check_dialog_face "$DIALOG" 50000 40 800

# ---- Clear Device ----
zel_drive press "$DIALOG" $CLEAR
check "Clear Device asks first" [ "$(zel_drive message-box no)" = $'ZEL USB 1.41\nAre you sure?' ]
# A silent device holds the first clear for its 3 s time-out.
sim choose $SIM_FAULT $FAULT_SILENCE
for press in 1 2; do
  zel_drive press "$DIALOG" $CLEAR
  zel_drive message-box yes >/dev/null
done
status_has "Failed to clear data."
sleep 1.5  # a second clear, had one started, would fail by now too
check "a second confirmed Clear Device while one runs starts no second worker" \
  [ "$(status_lines | tr -d '\r' | grep -cx 'Failed to clear data.')" = 1 ]
sim press $SIM_PLUG  # plugged in again: no longer silent
status_has "Device disconnected."
# The failed clear emptied the comments but kept the sets.
zel_drive set-text "$DIALOG" $COMMENT "Kept after a clear"
zel_drive press "$DIALOG" $SAVE_COMMENT
zel_drive press "$DIALOG" $SAVE_SELECTED
zel_drive file-dialog "Save data set 2" "$(windows_path "$E2E_OUT/after-clear.zel")"
check "Save Comment after a failed clear stores the comment again" [ "$(zel_drive message-box ok)" = "$SAVED" ]
check "... in the file saved" \
  [ "$("$E2E_ZELTOOL" info "$E2E_OUT/after-clear.zel" | sed -n 's/^  comment: //p')" = "Kept after a clear" ]
eventually all_enabled "$DIALOG" $CLEAR  # the re-plugged device's arrival has been reported
zel_drive press "$DIALOG" $CLEAR
zel_drive message-box yes >/dev/null
check "Clear Device clears on Yes" status_has "Data cleared successfully."
strip_shows() { strip_seen=$(colours_of "$(strip_runs)") && [ "$strip_seen" = "$1" ]; }
check "... emptying the strip" eventually strip_shows "$EMPTY" ||
  { echo "     the strip showed: $strip_seen"; cp "$E2E_OUT/strip.png" "$E2E_OUT/strip-after-clear.png"; }
zel_drive press "$DIALOG" $READ
check "the cleared device reads no packets" status_has "Packets Read: 0"

# ---- The hand-back ----
sim choose $SIM_MEMORY $MEMORY_THREE
zel_drive press "$DIALOG" $READ
status_has "Packets Read: $packets"
click_strip "$(run_x "$runs" 3)" "$EVEN_SET $ODD_SET $SELECTED $EMPTY"
zel_drive press "$DIALOG" $CLOSE
check "Select && Close ends the dialog" zel_drive wait-closed "$DIALOG"
last_selected_set() { [ "$(log_text | sed -n 's/^Selected Set: //p' | tail -n 1)" = "$1" ]; }
check "the main window selects the set chosen" eventually last_selected_set 2
shown=$(screenshot_showing handed-back '#FF0000')
check "... and draws it" more_than "$(pixel_count "$shown" '#FF0000')" 1000

# ---- A click before the first start packet ----
# A file whose first packet continues a set that is not in it.
crafted=$E2E_OUT/crafted.zel
python3 - "$E2E_OUT/all-1.ZEL" "$crafted" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[26], data[26 + 64] = 1, 2  # packet 0 continues, packet 1 starts set 0
open(sys.argv[2], "wb").write(data)
PY
check "a file starting inside a set opens" zel_open_file "$crafted"
open_dialog "Device Connected."
before="$ODD_SET $SELECTED $EMPTY"
check "its first packet belongs to no set" [ "$(colours_of "$(strip_runs)")" = "$before" ]
mark_log
zel_drive click "$DIALOG" $STRIP 1
check "a click on it logs its column" logged_since_mark "Selected Set: 0"
check "... and keeps the selection" [ "$(colours_of "$(strip_runs)")" = "$before" ]
close_dialog

# ---- Closing and pulling mid-download, paced like the device ----
sim choose $SIM_MEMORY $MEMORY_FULL
sim check $SIM_PACED 1
open_dialog "Device Connected."
zel_drive check "$DIALOG" $LIVE 1
zel_drive press "$DIALOG" $READ
status_has "Packet Read: 5"
check "a live download draws the live trace in the main window" \
  more_than "$(pixel_count "$(screenshot live)" "$LIVE_GREY")" 10000
mark_log
close_dialog
check "closing mid-download cancels" logged_since_mark "Canceled IO."
check "... the download ends" logged_since_mark "Canceling IO"
check "... and the dialog waits for it" logged_since_mark "Thread has exited."
check "... leaving no set to hand back" [ "$(pixel_count "$(stable_screenshot cancelled)" "$SELECTED")" = 0 ]

# A device that stops answering holds the worker in a read for up to 3 s.
sim press $SIM_PLUG
sim choose $SIM_MEMORY $MEMORY_THREE
open_dialog "Device Connected."
zel_drive press "$DIALOG" $READ
status_has "Packets Read: $packets"
zel_drive press "$DIALOG" $CLOSE
zel_drive wait-closed "$DIALOG"
check "a set is shown again" more_than "$(pixel_count "$(screenshot_showing shown-again '#FF0000')" '#FF0000')" 1000
sim choose $SIM_MEMORY $MEMORY_FULL
open_dialog "Device Connected."
zel_drive press "$DIALOG" $READ
status_has "Packet Read: 3"
sim choose $SIM_FAULT $FAULT_SILENCE
mark_log
close_dialog
check "closing while the device is silent reposts the close every 100 ms" \
  [ "$(log_since_mark | grep -cx 'reposting close message...')" -gt 5 ]
check "... until the worker has returned" logged_since_mark "Thread has exited."
check "... leaving no set to hand back" [ "$(pixel_count "$(stable_screenshot silenced)" "$SELECTED")" = 0 ]
sim press $SIM_PLUG

open_dialog "Device Connected."
zel_drive press "$DIALOG" $READ
status_has "Packet Read: 3"
sim press $SIM_PULL
check "pulling the device mid-download fails the read" status_has "Failed to read data."
check "... and is reported" status_has "Device disconnected."
zel_drive press "$DIALOG" $READ
check "Read Data then finds no altimeter" status_has "Altimeter not found. Make sure it is properly connected to the PC."
zel_drive key "$DIALOG" 27
check "Escape closes the dialog" zel_drive wait-closed "$DIALOG"
sim press $SIM_PLUG

# ---- WM_QUIT mid-download ----
# As a modal loop may be handed one: the program ends as it would on Exit.
ended_with_success() { program_ended && e2e_wait_program; }
no_crash_dialog() { ! zel_drive windows | grep -q '^#32770 '; }
no_unhandled_exception() { ! grep -qiE 'unhandled|page fault' "$E2E_ERRORS"; }
sim choose $SIM_MEMORY $MEMORY_FULL
open_dialog "Device Connected."
zel_drive press "$DIALOG" $READ
status_has "Packet Read: 20"
mark_log
zel_drive post-quit
check "a WM_QUIT mid-download ends the program" eventually program_ended
check "... without a crash dialog" no_crash_dialog
check "... or an unhandled exception" no_unhandled_exception
check "... with status 0" ended_with_success
check "... the dialog destroyed on the way" logged_since_mark "DESTRUCT"

e2e_finish
