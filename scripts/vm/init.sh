#!/bin/sh
# The machine's first process (busybox): the kernel's USB stack with its
# dummy host controller, configfs for gadgets, the host's root read-only over
# 9p with the output folder read-write at its own path; then the guest script
# runs with the host's tools through chroot, and the machine powers off.
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
ln -s /proc/self/fd /dev/fd  # bash's process substitution opens its pipes there
arg() { sed -n "s/.*\bzel\.$1=\([^ ]*\).*/\1/p" /proc/cmdline; }
controllers=$(arg controllers)
while read -r module; do
  case $module in
    */dummy_hcd.ko) insmod "/modules/$module" num="${controllers:-1}" ;;
    *) insmod "/modules/$module" ;;
  esac
done </modules/order
mount -t configfs configfs /sys/kernel/config
mkdir -p /host
mount -t 9p -o trans=virtio,version=9p2000.L,ro host /host
out=$(arg out)
mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 out "/host$out"
mount -o rbind /dev /host/dev
mount -o rbind /sys /host/sys
mount -t proc proc /host/proc
mount -t tmpfs tmpfs /host/tmp
mount -t tmpfs tmpfs /host/run
status=0
chroot /host /bin/bash "$(arg script)" "$out" || status=$?
echo "$status" >"/host$out/status"
sync
poweroff -f
