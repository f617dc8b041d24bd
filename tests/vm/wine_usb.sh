#!/usr/bin/env bash
# The Windows zeltool and the program over a real USB stack, inside the
# machine of scripts/usb-vm.sh (tests/vm/run.sh boots it): zelgadget stands for
# the altimeter on dummy_udc.0, the kernel's usbhid and hidraw take it, udevd
# announces it, and Wine's HID bus (winebus, through udev) shows it to
# SetupAPI and sends the arrival and removal notices of its binds and unbinds.
#   wine_usb.sh OUT_DIR   (OUT_DIR/guest.env names ZELTOOL_EXE, ZELUSB_EXE,
#                          ZELDRIVE_EXE, ZELGADGET and WINE_PREFIX, a prefix
#                          made on the host)
# Writes its lines, ending with "N passed, N failed", to OUT_DIR/guest.log.
set -uo pipefail
source "$(dirname "$0")/lib/guest.sh"
guest_begin "$1"

# Every Wine process starts slowly on the emulated processor: the driver
# waits up to 2 minutes for a window or a line.
export HOME=/tmp/home WINEPREFIX=/tmp/prefix WINEDEBUG=-all DISPLAY=:5 ZELDRIVE_TIMEOUT_MS=120000
mkdir -p "$HOME" /run/udev /tmp/prefix.changes /tmp/prefix.work "$WINEPREFIX"
# The host's prefix, what Wine writes kept in the machine's memory.
mount -t overlay overlay -o "lowerdir=$WINE_PREFIX,upperdir=/tmp/prefix.changes,workdir=/tmp/prefix.work" "$WINEPREFIX"
# Wine maps a program's image from its file: from the 9p share the image's
# pages fault when run, so the programs run from the machine's memory.
cp "$ZELTOOL_EXE" /tmp/zeltool.exe
cp "$ZELUSB_EXE" /tmp/zelusb.exe
cp "$ZELDRIVE_EXE" /tmp/zeldrive.exe
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# wine_tool NAME ARGS...: runs zeltool.exe, its output in $work/NAME.out and .err.
wine_tool() {
  local name=$1
  shift
  timeout 120 wine /tmp/zeltool.exe "$@" >"$work/$name.out" 2>"$work/$name.err"
}
lists() { wine_tool "$1" devices && grep -q "$2" "$work/$1.out"; }
lists_none() { ! wine_tool "$1" devices && [ ! -s "$work/$1.out" ]; }
drive() { timeout 150 wine /tmp/zeldrive.exe "$@" 2>>"$work/zeldrive.err" | tr -d '\r'; }
status_text() { drive text "Download Data" 1003; }
# Whether the status box says "Device Connected." after its last "Device disconnected.".
connected_again() {
  status_text | awk '/^Device disconnected\.$/ { gone = 1; back = 0 } /^Device Connected\.$/ && gone { back = 1 } END { exit !back }'
}

# Without udevd the kernel's events reach no one: Wine's bus would see the
# altimeter only at its start.
check "udevd runs" /lib/systemd/systemd-udevd --daemon
Xvfb :5 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
gadget_start 0
# Three flights (59 blocks), not a full memory: under the emulated processor
# each report through Wine's HID stack costs, and the Linux machine reads a full one.
check "zelgadget takes three flights at the real pace" eval 'gadget 0 memory several && gadget 0 paced on'
check "plugged into dummy_udc.0 it enumerates as 03db:0002, release 1.41" plug 0 application 0x0141 0002
gadget 0 dump-memory "$work/memory.bin"

# One Wine session throughout: a server kept running keeps its services (and
# the HID bus's view of the device) between the processes.
wineserver -p
start=$(now_ms)
check "Wine starts (wineboot)" timeout 180 wine wineboot
echo "wineboot: $(seconds_since "$start") s"
check "zeltool.exe devices lists it through SetupAPI, in application mode" \
  wait_for 60 lists devices '^application mode, firmware 1\.41: \\\\?\\hid#vid_03db&pid_0002'

start=$(now_ms)
wine_tool download download "$(windows_path "$work/flights")"
download_status=$?
download_s=$(seconds_since "$start")
check "zeltool.exe downloads the memory" eval '[ $download_status -eq 0 ] && out_has download "3 flights in 59 blocks"'
check "every flight is the gadget's memory byte for byte" \
  eval 'flights_match "$work/flights" "$work/memory.bin" && [ "$(stat -c %s "$work/flights.packets")" -eq $((59 * BLOCK_BYTES)) ]'
echo "download under Wine: $download_s s, Wine's start of the process included"

wine /tmp/zelusb.exe >"$work/program.log" 2>"$work/program.err" &
start=$(now_ms)
check "the program's main window comes" drive wait-main
echo "the program's window: $(seconds_since "$start") s"
check "Download Data finds it: \"Device Connected.\"" \
  eval 'drive menu 40006 && drive wait-line "Download Data" 1003 "Device Connected."'
read_ms=$(drive time-line "Download Data" 1006 1003 "Data read successfully.")
check "Read Data reads the memory through it: \"Data read successfully.\"" [ -n "$read_ms" ]
check "... all 59 packets" eval 'status_text | grep -qx "Packets Read: 59"'
echo "Read Data under Wine: $(milliseconds_as_seconds "${read_ms:-0}") s"

check "pulled out (unbound), the dialog says \"Device disconnected.\"" \
  eval 'gadget 0 pull && drive wait-line "Download Data" 1003 "Device disconnected."'
check "... and zeltool.exe devices lists none" eval 'wait_for 20 absent 0 0002 && lists_none gone'
check "plugged in again (bound), the dialog says \"Device Connected.\" again" \
  eval 'plug 0 application 0x0141 0002 && wait_for 60 connected_again'
import -display :5 -window root "$work/download-data.png"

gadget_stop 0
timeout 60 wineserver -k
checks_summary
