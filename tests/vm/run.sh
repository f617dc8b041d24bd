#!/usr/bin/env bash
# The device paths over a real USB stack: builds zeltool, zelgadget and the
# Windows programs, then boots two machines of scripts/usb-vm.sh side by side:
# one with two USB controllers for tests/vm/linux_usb.sh (the native zeltool)
# and one with one for tests/vm/wine_usb.sh (zeltool.exe and the program under
# Wine); prints their lines and ends with "N passed, N failed". Where no kernel
# can be installed to boot the machines with, it says "skipped: WHY" and ends
# with status 0.
#
# The native tools are a Release build without sanitizers (build/native-package,
# as the Debian package's): under the machine's emulated processor an ASan
# zeltool took 8 s to list the devices and 25 s for a download that takes
# 5 s without. Each machine has one processor, so the two share this
# two-core machine's cores.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/common.sh"
source "$ZEL_ROOT/scripts/lib/wine.sh"
source "$ZEL_ROOT/tests/support/checks.sh"

readonly LINUX_SECONDS=220 WINE_SECONDS=300

started=$SECONDS
linux_out=$ZEL_BUILD/vm-usb
wine_out=$ZEL_BUILD/vm-wine
wine_prefix=$ZEL_BUILD/vm-wine-prefix

# The guests' checks are counted by their lines, so that those of a machine
# that did not finish count too.
finish() {
  local guest_passed guest_failed
  guest_passed=$(cat "$linux_out/guest.log" "$wine_out/guest.log" 2>/dev/null | grep -c '^ok ')
  guest_failed=$(cat "$linux_out/guest.log" "$wine_out/guest.log" 2>/dev/null | grep -c '^FAIL ')
  guest_passed=${guest_passed:-0} guest_failed=${guest_failed:-0}
  echo "suite: $((SECONDS - started)) s"
  echo "$((guest_passed + checks_passed)) passed, $((guest_failed + checks_failed)) failed"
  [ $((guest_failed + checks_failed)) -eq 0 ]
  exit
}

zel_require_vm
if ! compgen -G "/boot/vmlinuz-*" >/dev/null; then
  echo "skipped: no kernel in /boot to boot the machine with (linux-image-amd64 could not be installed)"
  exit 0
fi
zel_require_build_tools
check "zeltool and zelgadget build (Release)" \
  env ZEL_TARGETS="zeltool zelgadget" bash -c "source '$ZEL_ROOT/scripts/lib/common.sh' &&
    zel_build native-package -DCMAKE_BUILD_TYPE=Release -DZEL_TESTS=OFF" || finish

# start_machine OUT GUEST CONTROLLERS SECONDS: boots the machine for GUEST
# with OUT (already holding guest.env) in the background; its status goes to
# OUT/machine.status.
start_machine() {
  { ZEL_VM_CPUS=1 ZEL_VM_SECONDS=$4 bash "$ZEL_ROOT/scripts/usb-vm.sh" "$ZEL_ROOT/tests/vm/$2" "$1" "$3"
    echo $? >"$1/machine.status"; } &
}

# report_machine OUT GUEST SECONDS: the guest's lines, and whether it finished.
report_machine() {
  local machine
  machine=$(cat "$1/machine.status" 2>/dev/null || echo none)
  grep -v '^[0-9]* passed, [0-9]* failed$' "$1/guest.log" 2>/dev/null
  check "$2: the machine ran the checks and powered off within $3 s (status $machine)" \
    eval "[ '$machine' != 124 ] && grep -q '^[0-9]* passed, [0-9]* failed\$' '$1/guest.log'"
}

# The machine's own prefix, made here where Wine starts quickly, once: the
# machine lays its changes over it in memory. Wine's HID bus starts its udev
# half only when SDL is off: with SDL enabled and libSDL2 missing, it takes
# the failed SDL start for a working one.
vm_wine_prefix() {
  [ -f "$1/.zel-vm-ready" ] && return 0
  rm -rf "$1"
  (export WINEPREFIX=$1 WINEDEBUG=-all
    zel_init_wine_prefix &&
      wine reg add 'HKLM\System\CurrentControlSet\Services\winebus' /v 'Enable SDL' /t REG_DWORD /d 0 /f >/dev/null 2>&1 &&
      wineserver -w) && touch "$1/.zel-vm-ready"
}

zel_require_wine
check "zeltool.exe, the program and its driver build" env ZEL_TARGETS="zeltool zelusb zeldrive" \
  bash -c "source '$ZEL_ROOT/scripts/lib/common.sh' && zel_build_windows" || finish

rm -rf "$linux_out" "$wine_out" && mkdir -p "$linux_out" "$wine_out"
cat >"$linux_out/guest.env" <<ENV
ZELTOOL=$ZEL_BUILD/native-package/tools/zeltool
ZELGADGET=$ZEL_BUILD/native-package/tools/zelgadget
ENV
start_machine "$linux_out" linux_usb.sh 2 "$LINUX_SECONDS"

cat >"$wine_out/guest.env" <<ENV
ZELTOOL_EXE=$ZEL_BUILD/mingw/tools/zeltool.exe
ZELUSB_EXE=$ZEL_BUILD/mingw/app/zelusb.exe
ZELDRIVE_EXE=$ZEL_BUILD/mingw/tools/e2e/zeldrive.exe
ZELGADGET=$ZEL_BUILD/native-package/tools/zelgadget
WINE_PREFIX=$wine_prefix
ENV
check "a Wine prefix for the machine, SDL off" vm_wine_prefix "$wine_prefix" &&
  start_machine "$wine_out" wine_usb.sh 1 "$WINE_SECONDS"
wait
report_machine "$linux_out" linux_usb.sh "$LINUX_SECONDS"
report_machine "$wine_out" wine_usb.sh "$WINE_SECONDS"
finish
