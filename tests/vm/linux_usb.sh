#!/usr/bin/env bash
# Linux over a real USB stack, inside the machine of scripts/usb-vm.sh with
# two controllers (tests/vm/run.sh boots it): zelgadget stands for the
# altimeter on dummy_udc.0, and the native zeltool reaches it through the
# kernel's usbhid and hidraw, as it would reach the real one. Then a second
# altimeter on dummy_udc.1. Every wait is for a state, and bounded.
#   linux_usb.sh OUT_DIR   (OUT_DIR/guest.env names ZELTOOL and ZELGADGET)
# Writes its lines, ending with "N passed, N failed", to OUT_DIR/guest.log;
# what it worked with stays in OUT_DIR/work.
set -uo pipefail
source "$(dirname "$0")/lib/guest.sh"
guest_begin "$1"

readonly FULL_BLOCKS=128
readonly FLASH_BYTES=65536
readonly IMAGE_BYTES=16384

# ---- The altimeter in application mode, a full memory at the real pace.
gadget_start 0
check "zelgadget takes a full memory at the real pace" eval 'gadget 0 memory full && gadget 0 paced on'
check "plugged into dummy_udc.0 it enumerates as 03db:0002, release 1.41" plug 0 application 0x0141 0002
check "devices lists it in application mode, compatible" \
  eval 'tool devices devices && out_has devices "^application mode, firmware 1.41: $(hidraw_of 0 0002)$"'
check "devices --json lists it with mode, version and compatibility" \
  eval 'tool devices-json devices --json && [ "$(cat "$work/devices-json.out")" = "{\"devices\": [{\"mode\": \"application\", \"version\": \"1.41\", \"compatible\": true, \"path\": \"$(hidraw_of 0 0002)\"}]}" ]'

start=$(now_ms)
tool download download "$work/full"
download_status=$?
download_s=$(seconds_since "$start")
check "download reads the full memory" eval '[ $download_status -eq 0 ] && out_has download "^5 flights in 128 blocks$"'
gadget 0 dump-memory "$work/memory.bin"
check "every flight is the gadget's memory byte for byte" \
  eval 'flights_match "$work/full" "$work/memory.bin" && [ "$(stat -c %s "$work/full.packets")" -eq $((FULL_BLOCKS * BLOCK_BYTES)) ]'
counts 0
floor_s=$(milliseconds_as_seconds "$to_host")
echo "download: $download_s s at the real pace; floor $floor_s s: $to_host reports to the host, one per 1 ms frame," \
  "the $from_host from the host sharing their frames ($(milliseconds_as_seconds $((to_host + from_host))) s" \
  "with a frame each)"
check "the paced download takes no less than its floor" awk -v t="$download_s" -v f="$floor_s" 'BEGIN { exit !(t >= f) }'

# ---- Settings read, written and read back from the gadget.
check "settings reads the altimeter's defaults" \
  eval 'tool settings settings --json && out_has settings "\"lineB\": {\"mode\": \"altitude\", \"value\": 150, \"metres\": 150}, \"inhibitSeconds\": 2,"'
check "settings writes line B at 250 m and an inhibit time of 3 s, and reads them back" \
  eval 'tool settings-write settings --json --line-b altitude:250 --inhibit 3 &&
        out_has settings-write "\"metres\": 250}, \"inhibitSeconds\": 3,"'
check "the gadget holds what was written" \
  eval 'gadget 0 settings && last_answer 0 | grep -q "Line A: Apogee 150; Line B: Altitude 250; inhibit 30; offset 0; checksum ok"'

# ---- A firmware update: application -> bootloader -> application.
head -c "$IMAGE_BYTES" /dev/urandom >"$work/image.bin"
check "firmware-pack makes a firmware file 1.42 of a 16 KiB image" \
  "$ZELTOOL" firmware-pack "$work/image.bin" "$work/firmware.dat" --firmware 0x0142 --bootloader 0x0103
check "switched to its bootloader it re-enumerates as 03db:0001, release 1.03" plug 0 bootloader 0x0103 0001
check "devices lists it in bootloader mode" \
  eval 'tool devices-boot devices && out_has devices-boot "^bootloader mode, bootloader 1.03: $(hidraw_of 0 0001)$"'
start=$(now_ms)
check "firmware-update writes the firmware file" \
  eval 'tool update firmware-update "$work/firmware.dat" && out_has update "^Firmware updated successfully.$"'
update_s=$(seconds_since "$start")
counts 0
echo "firmware update: $update_s s for $((IMAGE_BYTES / BLOCK_BYTES)) blocks; floor" \
  "$(milliseconds_as_seconds $((from_host + to_host))) s: $from_host reports from the host and $to_host to it," \
  "each in a 1 ms frame of its own"
image_in_flash() {
  gadget 0 dump-flash "$work/flash.bin" &&
    { cat "$work/image.bin"; head -c $((FLASH_BYTES - IMAGE_BYTES)) /dev/zero | tr '\0' '\377'; } |
    cmp -s - "$work/flash.bin"
}
check "the flash holds the image byte for byte" image_in_flash
check "plugged in normally it runs the new firmware, 1.42" \
  eval 'plug 0 application 0x0142 0002 && tool devices-new devices && out_has devices-new "^application mode, firmware 1.42: "'

# ---- Pulled out in the middle of a download.
read_past() { grep -q "^blocks read: $2$" "$work/$1.err"; }
in_background pulled "$ZELTOOL" download "$work/pulled"
check "the download is under way" wait_for 30 read_past pulled 70
gadget 0 pull
check "pulled out, the download ends within 10 s" wait_for 10 ended pulled
check "the host sees the altimeter gone" wait_for 20 absent 0 0002
check "its whole flights are kept, the gadget's memory byte for byte" \
  eval 'ended_with pulled 1 && flights_match "$work/pulled" "$work/memory.bin"'
check "the rest is said on standard error" \
  err_has pulled "^zeltool: the download stopped after [0-9]* blocks: the altimeter was unplugged; kept the [0-9] flights read in full$"
check "a removal fault pulls it out a few reports into the next command" \
  eval 'plug 0 application 0x0141 0002 && gadget 0 fault removal && ! tool removed settings &&
        err_has removed "the altimeter was unplugged" && wait_for 10 grep -q "^event pulled out by a fault$" "$work/gadget0.answers" &&
        wait_for 20 absent 0 0002'

# ---- A second altimeter on the second controller.
check "plugged in again, the first altimeter is back" plug 0 application 0x0141 0002
gadget_start 1
check "a second altimeter, of other flights, enumerates on dummy_udc.1" \
  eval 'gadget 1 memory several && plug 1 application 0x0141 0002'
check "devices lists both" \
  eval 'tool devices-two devices && out_has devices-two "^application mode, firmware 1.41: $(hidraw_of 0 0002)$" &&
        out_has devices-two "^application mode, firmware 1.41: $(hidraw_of 1 0002)$"'
blocks_read() { grep -c "^blocks read" "$work/$1.err"; }
in_background beside "$ZELTOOL" download "$work/beside"
check "while the first downloads, the second is switched to its bootloader" \
  eval 'wait_for 30 read_past beside 1 && gadget 1 plug bootloader 0x0103 && ! ended beside'
switched=$(blocks_read beside)
check "and back to application mode" gadget 1 plug application 0x0141
echo "the second altimeter was switched by block $switched of the first's download, and back by block" \
  "$(blocks_read beside)"
check "the host sees the second in application mode again" \
  eval 'wait_for 20 absent 1 0001 && wait_for 20 identity 1 0002 0141'
wait_for 60 ended beside
check "the download from the first is undisturbed: the same bytes" \
  eval 'ended_with beside 0 && flights_match "$work/beside" "$work/memory.bin" &&
        cmp -s "$work/beside.packets" "$work/full.packets"'

taken_apart() { ended_with "gadget$1" 0 && [ ! -e "/sys/kernel/config/usb_gadget/zel$1" ] && wait_for 20 absent "$1" 0002; }
check "zelgadget quits, taking its gadget apart" eval 'gadget_stop 1 && gadget_stop 0 && taken_apart 1 && taken_apart 0'
checks_summary
