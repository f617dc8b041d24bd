#!/usr/bin/env bash
# Update Firmware and About against the demonstration program's simulated
# altimeter: the bootloader connection report in each case, an update with its
# progress, the refusal to close while it runs, every kind of failure, a file
# in a folder named in Cyrillic, and the About box's text and fixed size.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly DIALOG="Update Firmware" ABOUT="About" SIM="Simulated altimeter"
readonly STATUS=1003 CLOSE=1004 UPDATE=1005
readonly SIM_PLUG=1101 SIM_BOOTLOADER=1102 SIM_PULL=1103 SIM_BOOTLOADER_VERSION=1106 SIM_HARDWARE=1107
readonly SIM_PACED=1111 SIM_FLASH=1142 SIM_IMAGE=1143 SIM_COMPARE=1144

status_has() { zel_drive wait-line "$DIALOG" $STATUS "$1"; }
status_lines() { zel_drive text "$DIALOG" $STATUS | tr -d '\r'; }
open_dialog() { zel_drive menu 40011 && zel_drive wait-line "$DIALOG" $STATUS "$1"; }
close_dialog() { zel_drive close-window "$DIALOG" && zel_drive wait-closed "$DIALOG"; }
sim() { zel_drive "$1" "$SIM" "${@:2}" >/dev/null; }
flash() { zel_drive text "$SIM" $SIM_FLASH | tr -d '\r'; }
# update FILE: chooses the file through "Update..." and its dialog.
update() { zel_drive press "$DIALOG" $UPDATE && zel_drive file-dialog "Load Firmware file" "$(windows_path "$1")"; }
# The lines of the status box from the last "Updating firmware..." on.
last_update() { status_lines | awk '/^Updating firmware\.\.\.$/ { n = 0; delete seen } { seen[++n] = $0 } END { for (i = 1; i <= n; i++) print seen[i] }'; }
update_ended_with() { [ "$(last_update | sed '/^$/d' | tail -n 1)" = "$1" ]; }
# update_shows LINE: waits until the last update has said that line.
update_said() { last_update | grep -qxF -- "$1"; }
update_shows() { eventually update_said "$1"; }
press_opens_nothing() { zel_drive press "$DIALOG" "$1" && zel_drive no-dialog 500; }
update_line() { [ "$(last_update | sed -n "$1p")" = "$2" ]; }

# A plain image with erased blocks inside it, and the firmware file packed from it.
python3 - "$E2E_OUT/image.bin" "$E2E_OUT/full.bin" <<'PY'
import random, sys
random.seed(7)
image = bytearray(random.randbytes(5000))
image[3 * 64:4 * 64] = b"\xff" * 64  # an erased block is skipped
open(sys.argv[1], "wb").write(image)
open(sys.argv[2], "wb").write(random.randbytes(65536))
PY
"$E2E_ZELTOOL" firmware-pack "$E2E_OUT/image.bin" "$E2E_OUT/update.dat" >/dev/null
"$E2E_ZELTOOL" firmware-pack "$E2E_OUT/full.bin" "$E2E_OUT/full.dat" >/dev/null
head -c 30000 "$E2E_OUT/update.dat" >"$E2E_OUT/cut.dat"
cyrillic=$E2E_OUT/$'\u041f\u0440\u043e\u0448\u0438\u0432\u043a\u0430'
mkdir -p "$cyrillic"
cp "$E2E_OUT/update.dat" "$cyrillic/update.dat"

check "the demonstration program starts" e2e_start_program "$ZEL_BUILD/mingw/app/zelusb-demo.exe"

# ---- Connection report ----
check "an application-mode altimeter is not what it wants" open_dialog "Device found, but is not in bootloader mode."
check "... and it asks for bootloader mode" status_has "Please reconnect the device in bootloader mode."
check "... Update... stays disabled" none_enabled "$DIALOG" $UPDATE
sim set-text $SIM_BOOTLOADER_VERSION 0205
sim press $SIM_BOOTLOADER
check "a bootloader 2.05 is incompatible" status_has "Device found in bootloader mode, but has incompatible bootloader version."
check "... reads 2.05" status_has "Current device bootloader version: 2.05"
check "... against 1.00" status_has "Required device bootloader version: 1.00"
sim set-text $SIM_BOOTLOADER_VERSION 0103
sim press $SIM_BOOTLOADER
check "a bootloader 1.03 connects" status_has "Device connected in bootloader mode."
check "... and says its version" status_has "Device bootloader version: 1.03"

# ---- An update ----
zel_drive press "$DIALOG" $UPDATE
zel_drive cancel-dialog "Load Firmware file"
check "cancelling the file dialog changes nothing" all_enabled "$DIALOG" $UPDATE $CLOSE
update "$E2E_OUT/update.dat"
check "the update succeeds" status_has "Firmware updated successfully."
expected="Updating firmware...
$(for p in 10 20 30 40 50 60 70 80 90 100; do echo "$p%"; done)
New firmware version: 1.41
Firmware updated successfully."
check "status lines in order: progress from 10% (no 0% the first time), version, success" \
  [ "$(last_update)" = "$expected" ]
zel_screenshot "$E2E_OUT/update.png"
check "the log names the file" wait_for_log "Firmware file: $(windows_path "$E2E_OUT/update.dat")"
sim set-text $SIM_IMAGE "$(windows_path "$E2E_OUT/image.bin")"
sim press $SIM_COMPARE
check "the flash holds the image, its erased block skipped" \
  zel_drive wait-line "$SIM" $SIM_FLASH "Flash: 78 blocks written; matches image.bin"
update "$cyrillic/update.dat"
check "a file in a folder named in Cyrillic updates" status_has "Firmware updated successfully."
check "... and the second update of the run shows 0% first" update_line 2 0%
check "the flash holds the image written twice" \
  zel_drive wait-line "$SIM" $SIM_FLASH "Flash: 156 blocks written; matches image.bin"

# ---- Failures ----
before=$(flash)
update "$E2E_OUT/cut.dat"
check "a file cut short is not a valid firmware file" status_has "This is not a valid firmware file."
check "... the update fails" update_ended_with "Failed to update firmware."
check "... and nothing reached the device" [ "$(flash)" = "$before" ]

sim set-text $SIM_HARDWARE 0110
sim press $SIM_BOOTLOADER
status_has "Device connected in bootloader mode."
update "$E2E_OUT/update.dat"
check "hardware 1.10 is refused" status_has "The firmware version is not intended for use with your hardware version."
check "... naming it" status_has "Your hardware version: 1.10"
check "... against 1.20" status_has "Expected version: 1.20"
check "... and the update fails" update_ended_with "Failed to update firmware."
sim set-text $SIM_HARDWARE 0121

# ---- Closing during an update, and pulling the device ----
sim check $SIM_PACED 1
sim press $SIM_BOOTLOADER
status_has "Device connected in bootloader mode."
update "$E2E_OUT/full.dat"
update_shows "10%"
zel_drive close-window "$DIALOG"
check "closing during an update is refused with the warning" [ "$(zel_drive message-box ok)" = \
  $'ZEL USB 1.41\nUpdating firmware is a delicate process.\nCanceling may cause your device to fail.' ]
check "... and pressing Update... meanwhile opens nothing" press_opens_nothing $UPDATE
check "... and the update goes on to its end" update_shows "Firmware updated successfully."
eventually all_enabled "$DIALOG" $UPDATE
update "$E2E_OUT/full.dat"
update_shows "20%"
sim press $SIM_PULL
check "pulling the device mid-update times out a read" status_has "There was a timeout on a read operation."
check "... blames the removal" status_has "This was most likely caused by prematurely removing the device."
check "... and fails the update" update_ended_with "Failed to update firmware."
check "... and the device's removal is reported" status_has "Device disconnected."
sim check $SIM_PACED 0
mark_log
check "once the update is over the dialog closes" close_dialog
check "... with the handshake" logged_since_mark "Thread has exited."
sim press $SIM_PLUG

# ---- About ----
zel_drive menu 40010
check "About opens with its text" zel_drive wait-line "$ABOUT" $STATUS "Hardware version 1.2x"
about_text=$(zel_drive text "$ABOUT" $STATUS | tr -d '\r')
check "... line by line" [ "$(sed -n '2,7p' <<<"$about_text")" = "
Software is version 1.41 and is designed for:

Firmware version 1.4x
Bootloader version 1.0x
Hardware version 1.2x" ]
check "... with an invitation to the project's site first" bash -c "sed -n 1p <<<'$about_text' | grep -q 'https://'"
read -r _ _ width height < <(zel_drive screen-rect "$ABOUT" 0)
zel_screenshot "$E2E_OUT/about.png"
check "it cannot be resized" [ "$(zel_drive size "$ABOUT" $((width + 40)) $((height + 40)))" = "$width $height" ]
mark_log
zel_drive key "$ABOUT" 27
check "Escape closes it" zel_drive wait-closed "$ABOUT"
check "... writing DESTRUCT and nothing else" [ "$(log_since_mark | grep -v '^Updating buffer\.$')" = "DESTRUCT" ]

e2e_finish
