#!/bin/sh
# /init of the guest that usb-serial-under-qemu.sh boots (busybox sh, process 1). It loads the
# modules prepare-guest.sh put in, in their order, mounts this machine's root (shared read-only
# over 9p) with the guest's own /dev, /proc, /sys and an empty tmpfs on /run, and runs
# guest-scenarios.sh there, so the build tree's programs run on the host's own libraries. The
# second 9p share (writable) carries guest.env in and the results out. There is no udev: devtmpfs
# makes /dev/ttyUSB0, and nothing else learns of the adapter but from sysfs.
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
exec >/dev/console 2>&1
echo "guest: $(cat /proc/version)"

for module in $(cat /lib/modules/load); do
  insmod "/lib/modules/$module" || echo "guest: insmod $module failed"
done

# The virtio devices show up as their driver binds; the first mount may come too early.
mounted() {
  for _ in $(seq 50); do
    mount "$@" 2>/dev/null && return 0
    sleep 0.1
  done
  mount "$@"
}
options=trans=virtio,version=9p2000.L,msize=512000
if mounted -t 9p -o "$options,cache=loose,ro" hostroot /host && mounted -t 9p -o "$options" out /out; then
  . /out/guest.env
  mount -t proc proc /host/proc
  mount -t sysfs sysfs /host/sys
  mount -t devtmpfs devtmpfs /host/dev
  # Only /run is the guest's own: the project and its build may be anywhere else, /tmp and /root
  # among them, and must stay in sight.
  mount -t tmpfs tmpfs /host/run
  mkdir /host/run/out /host/run/home /host/run/tmp /host/run/work
  mount --bind /out /host/run/out
  chroot /host /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin HOME=/run/home \
    TMPDIR=/run/tmp TOLVANE_PORT_REGISTRY=/run/registry LANG=C.UTF-8 \
    /bin/bash "$TOLVANE_SCENARIOS" /run/out "$TOLVANE_PROVISION"
  echo $? >/out/guest-status
  umount /host/run/out
else
  echo "guest: the 9p shares did not mount"
fi
sync
poweroff -f
