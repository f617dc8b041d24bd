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
mkdir -p /host /hostview
# The host's root holds still while the machine runs, so the guest caches
# it: a Wine process started in 7 s instead of 13.
mount -t 9p -o trans=virtio,version=9p2000.L,ro,cache=loose,msize=262144 host /host
mount -o bind /host /hostview
mount -o rbind /dev /host/dev
mount -o rbind /sys /host/sys
mount -t proc proc /host/proc
# The guest's own /tmp and /run; the host's folders under them that the guest
# needs (a checkout in /tmp) show through at their own paths.
mount -t tmpfs tmpfs /host/tmp
mount -t tmpfs tmpfs /host/run
for path in $(arg keep | tr , ' '); do
  case $path in
    /tmp/* | /run/*) mkdir -p "/host$path" && mount -o bind "/hostview$path" "/host$path" ;;
  esac
done
out=$(arg out)
mkdir -p "/host$out" 2>/dev/null
mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 out "/host$out"
status=0
chroot /host /bin/bash "$(arg script)" "$out" || status=$?
echo "$status" >"/host$out/status"
sync
poweroff -f
