#!/usr/bin/env bash
# Linux over a real USB stack: builds zeltool and zelgadget, boots the machine
# of scripts/usb-vm.sh with two USB controllers and runs tests/vm/linux_usb.sh
# in it; prints its lines and ends with "N passed, N failed". Where no kernel
# can be installed to boot the machine with, it says "skipped: WHY" and ends
# with status 0.
#
# The tools are a Release build without sanitizers (build/native-package, as
# the Debian package's): under the machine's emulated processor an ASan
# zeltool took 8 s to list the devices and 25 s for a download that takes
# 5 s without. The machine has one processor: with another QEMU busy on this
# two-core machine, the suite took 80 s on one and ran past 220 s on two.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/common.sh"
source "$ZEL_ROOT/tests/support/checks.sh"

readonly MACHINE_SECONDS=220

started=$SECONDS
out=$ZEL_BUILD/vm-usb

# The guest's checks are counted by their lines, so that those of a machine
# that did not finish count too.
finish() {
  local guest_passed guest_failed
  guest_passed=$(grep -c '^ok ' "$out/guest.log" 2>/dev/null)
  guest_failed=$(grep -c '^FAIL ' "$out/guest.log" 2>/dev/null)
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

rm -rf "$out" && mkdir -p "$out"
cat >"$out/guest.env" <<ENV
ZELTOOL=$ZEL_BUILD/native-package/tools/zeltool
ZELGADGET=$ZEL_BUILD/native-package/tools/zelgadget
ENV
ZEL_VM_CPUS=1 ZEL_VM_SECONDS=$MACHINE_SECONDS bash "$ZEL_ROOT/scripts/usb-vm.sh" "$ZEL_ROOT/tests/vm/linux_usb.sh" "$out" 2
machine=$?
grep -v '^[0-9]* passed, [0-9]* failed$' "$out/guest.log" 2>/dev/null
check "the machine ran the checks and powered off within $MACHINE_SECONDS s (status $machine)" \
  eval '[ $machine -ne 124 ] && grep -q "^[0-9]* passed, [0-9]* failed$" "$out/guest.log"'
finish
