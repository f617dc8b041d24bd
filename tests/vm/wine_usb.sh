#!/usr/bin/env bash
# The Windows zeltool over a real USB stack, inside the machine of
# scripts/usb-vm.sh (tests/vm/run.sh boots it): zelgadget stands for the
# altimeter on dummy_udc.0, the kernel's usbhid and hidraw take it, and Wine's
# HID bus (winebus, through udev) shows it to SetupAPI, where zeltool.exe
# finds it as it would on Windows.
#   wine_usb.sh OUT_DIR   (OUT_DIR/guest.env names ZELTOOL_EXE and ZELGADGET;
#                          OUT_DIR/prefix is a Wine prefix made on the host)
# Writes its lines, ending with "N passed, N failed", to OUT_DIR/guest.log.
set -uo pipefail
source "$(dirname "$0")/lib/guest.sh"
guest_begin "$1"

export HOME=/tmp/home WINEPREFIX=$out/prefix WINEDEBUG=-all
mkdir -p "$HOME"
# Wine maps a program's image from its file: from the 9p share the image's
# pages fault when run, so the program runs from the machine's memory.
cp "$ZELTOOL_EXE" /tmp/zeltool.exe
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# wine_tool NAME ARGS...: runs zeltool.exe (at most 120 s: every process
# starts slowly on the emulated processor), its output in $work/NAME.out and .err.
wine_tool() {
  local name=$1
  shift
  timeout 120 wine /tmp/zeltool.exe "$@" >"$work/$name.out" 2>"$work/$name.err"
}
lists() { wine_tool "$1" devices && grep -q "$2" "$work/$1.out"; }
lists_none() { ! wine_tool "$1" devices && [ ! -s "$work/$1.out" ]; }

gadget_start 0
check "zelgadget takes a full memory at the real pace" eval 'gadget 0 memory full && gadget 0 paced on'
check "plugged into dummy_udc.0 it enumerates as 03db:0002, release 1.41" plug 0 application 0x0141 0002

start=$(now_ms)
check "Wine starts (wineboot)" timeout 180 wine wineboot
echo "wineboot: $(seconds_since "$start") s"
check "zeltool.exe devices lists it through SetupAPI, in application mode" \
  wait_for 90 lists devices '^application mode, firmware 1\.41: \\\\?\\hid#vid_03db&pid_0002'

start=$(now_ms)
wine_tool download download "$(windows_path "$work/full")"
download_status=$?
download_s=$(seconds_since "$start")
check "zeltool.exe downloads the full memory" eval '[ $download_status -eq 0 ] && out_has download "5 flights in 128 blocks"'
gadget 0 dump-memory "$work/memory.bin"
check "every flight is the gadget's memory byte for byte" \
  eval 'flights_match "$work/full" "$work/memory.bin" && [ "$(stat -c %s "$work/full.packets")" -eq $((128 * BLOCK_BYTES)) ]'
echo "download under Wine: $download_s s, Wine's start of the process included"

check "pulled out, the gadget is gone from the host" eval 'gadget 0 pull && wait_for 20 absent 0 0002'
check "... and from Wine: zeltool.exe devices lists none" wait_for 90 lists_none gone
check "plugged in again, zeltool.exe lists it again" \
  eval 'plug 0 application 0x0141 0002 && wait_for 90 lists again "^application mode, firmware 1\.41: "'

gadget_stop 0
timeout 60 wineserver -k
checks_summary
