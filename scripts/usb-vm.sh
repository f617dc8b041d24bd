#!/usr/bin/env bash
# Boots a small Linux machine under QEMU whose USB stack is real: the
# kernel's dummy host controller joined to its device controller, on which a
# configfs HID gadget can stand for an altimeter (tools/zelgadget). The
# host's root is shared read-only, so the checkout's own binaries run inside
# (through chroot), and OUT_DIR read-write at the same path.
#   scripts/usb-vm.sh GUEST_SCRIPT OUT_DIR [CONTROLLERS]
# Runs GUEST_SCRIPT with bash inside, OUT_DIR its argument, CONTROLLERS (1
# unless given) host controllers each with its device controller. The
# machine's console is OUT_DIR/console.log; the status is the script's, 124
# when the machine did not end within ZEL_VM_SECONDS (240). ZEL_VM_CPUS
# processors (2 unless set).
set -uo pipefail
source "$(dirname "$0")/lib/common.sh"

# The modules, each after those it needs, and Debian's kernel they belong to.
readonly WANTED="configfs usb_f_hid dummy_hcd usbhid hid-generic virtio_pci 9pnet_virtio 9p overlay"

vm_kernel_version() { ls /lib/modules | sort -V | tail -n 1; }

# module_order VERSION: the wanted modules' files, each after its dependencies.
module_order() {
  local dep=/lib/modules/$1/modules.dep
  python3 - "$dep" $WANTED <<'PYTHON'
import sys
deps = {}
for line in open(sys.argv[1]):
    module, _, needs = line.partition(":")
    deps[module] = needs.split()
by_name = {m.rsplit("/", 1)[1][:-3].replace("-", "_"): m for m in deps}
order = []
def visit(module):
    if module in order:
        return
    for need in reversed(deps[module]):
        visit(need)
    order.append(module)
for name in sys.argv[2:]:
    visit(by_name[name.replace("-", "_")])
print("\n".join(order))
PYTHON
}

# fill_root ROOT VERSION: busybox, the init and the modules.
fill_root() {
  local applet module
  mkdir -p "$1"/{bin,proc,sys,dev,modules}
  cp /bin/busybox "$1/bin/busybox"
  for applet in sh mount insmod mkdir ln sed cat echo sync poweroff chroot sleep; do ln -s busybox "$1/bin/$applet"; done
  cp "$ZEL_ROOT/scripts/vm/init.sh" "$1/init" && chmod +x "$1/init"
  module_order "$2" >"$1/modules/order" || return 1
  while read -r module; do
    mkdir -p "$1/modules/$(dirname "$module")"
    cp "/lib/modules/$2/$module" "$1/modules/$module"
  done <"$1/modules/order"
}

# build_initramfs VERSION FILE: the root packed. Two machines may start at
# once: each fills a folder of its own and renames its file into place.
build_initramfs() {
  local root status=1
  mkdir -p "$ZEL_BUILD/vm" && root=$(mktemp -d "$ZEL_BUILD/vm/root.XXXXXX") || return 1
  fill_root "$root" "$1" && (cd "$root" && find . | cpio -o -H newc --quiet | gzip -1) >"$2.$$" &&
    mv -f "$2.$$" "$2" && status=0
  rm -rf "$root" "$2.$$"
  return $status
}

# A processor without SMAP: TCG's SMAP check faults the user-mode iretq with
# which Wine returns from its exceptions, and the guest kernel oopses on every
# Wine process.
readonly VM_CPU=qemu64,+ssse3,+sse4.1,+sse4.2,+popcnt

main() {
  [ $# -ge 2 ] || { echo "usage: $0 GUEST_SCRIPT OUT_DIR [CONTROLLERS]" >&2; return 2; }
  local script out controllers=${3:-1} version initramfs
  script=$(realpath "$1") && mkdir -p "$2" && out=$(realpath "$2") || return 2
  zel_require_vm
  version=$(vm_kernel_version)
  initramfs=$ZEL_BUILD/vm/initramfs-$version.cpio.gz
  build_initramfs "$version" "$initramfs" || return 1
  rm -f "$out/status"
  # Under TCG the kernel finds the two processors' clocks out of step and
  # falls back to the emulated HPET, slow to read: tsc=reliable keeps the TSC,
  # which made a command of zeltool start in 0.9 s instead of 2.3 s.
  timeout "${ZEL_VM_SECONDS:-240}" qemu-system-x86_64 -accel tcg -cpu "$VM_CPU" -smp ${ZEL_VM_CPUS:-2} -m 2048 -nographic -no-reboot \
    -kernel "/boot/vmlinuz-$version" -initrd "$initramfs" \
    -append "console=ttyS0 quiet panic=-1 tsc=reliable zel.script=$script zel.out=$out zel.controllers=$controllers zel.keep=$ZEL_ROOT,$ZEL_BUILD,$(dirname "$script")" \
    -virtfs local,path=/,mount_tag=host,security_model=none,readonly=on,multidevs=remap \
    -virtfs "local,path=$out,mount_tag=out,security_model=none" </dev/null >"$out/console.log" 2>&1
  local qemu=$?
  [ $qemu -eq 124 ] && return 124
  [ -f "$out/status" ] || { echo "the machine ended without the script's status (qemu $qemu)" >&2; return 1; }
  return "$(cat "$out/status")"
}

main "$@"
