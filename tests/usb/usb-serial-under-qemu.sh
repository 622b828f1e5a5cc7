#!/usr/bin/env bash
# tolvane-provision through a real Linux USB serial driver: a QEMU guest (software emulation,
# Debian's own kernel) whose ftdi_sio serves QEMU's emulated FTDI adapter as /dev/ttyUSB0, with
# tolvane-devsim on this machine behind the adapter. The guest runs the build tree's own programs
# from this machine's root, shared read-only over 9p, without udev. In one boot it checks that:
# - --list-ports shows the adapter as COM33 (ttyUSB0);
# - a profile with IMEI, server, domain, accounts, APN, language and network type is written and
#   read back: status 0;
# - a pool run records the adapter's USB serial number, which the guest can only read from sysfs;
# - the driver set the adapter to 921600 baud (QEMU's trace; the FTDI divisor is not exact);
# - pulling the adapter out during a step ends the run with status 1 (not the step's time-out),
#   the report saying the link closed;
# - with --wait, a new unit plugged into the same port is provisioned.
# It skips (77) without root or QEMU. The kernel and modules are kept in CACHE between runs.
# Usage: usb-serial-under-qemu.sh PROVISION DEVSIM CACHE
set -euo pipefail
provision=$1 devsim=$2 cache=$3
here=$(cd "$(dirname "$0")" && pwd)

skip() {
  echo "SKIP: $*"
  exit 77
}
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# Root reads the whole of the shared root, and fetches the kernel with apt-get.
[ "$(id -u)" -eq 0 ] || skip "needs root"
command -v qemu-system-x86_64 >/dev/null || skip "qemu-system-x86_64 is not installed"
for tool in busybox cpio socat apt-get; do
  command -v "$tool" >/dev/null || fail "$tool is missing: scripts/install-deps.sh installs it"
done

tmp=$(mktemp -d)
share=$tmp/share
mkdir "$share"
pids=()
leave() {
  local status=$1
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ "$status" != 0 ] && [ "$status" != 77 ]; then
    for log in qemu.log console.log; do
      [ -s "$tmp/$log" ] || continue
      echo "$log, last lines:" >&2
      tail -n 25 "$tmp/$log" | sed 's/^/  | /' >&2
    done
  fi
  rm -rf "$tmp"
}
trap 'leave $?' EXIT

"$here/prepare-guest.sh" "$cache"

# wait_for SECONDS DESCRIPTION COMMAND...: until COMMAND succeeds; fails after SECONDS, or as soon
# as QEMU has ended (the guest will not do it any more).
wait_for() {
  local tenths=$(($1 * 10)) what=$2
  shift 2
  for _ in $(seq "$tenths"); do
    "$@" && return 0
    if [ -n "${qemu_pid:-}" ] && ! kill -0 "$qemu_pid" 2>/dev/null; then fail "the guest stopped before $what"; fi
    sleep 0.1
  done
  fail "$what did not happen within $1 s"
}
# start_devsim NAME OPTIONS...: a simulated device, its output in NAME.log, its terminal in
# terminal[NAME].
declare -A terminal=()
start_devsim() {
  local name=$1
  shift
  "$devsim" --registry "$tmp/registry" --exit-with-parent "$@" >"$tmp/$name.log" 2>&1 &
  pids+=($!)
  wait_for 10 "$name's start" grep -q ' at /dev/' "$tmp/$name.log"
  terminal[$name]=$(sed -n 's/^tolvane-devsim: .* at \(\/dev\/[^ ]*\)$/\1/p' "$tmp/$name.log")
}
# monitor COMMAND: one command on QEMU's human monitor, which answers an error in words.
monitor() {
  local reply error
  reply=$(echo "$*" | socat -t 1 - "UNIX-CONNECT:$tmp/monitor.sock" | tr -d '\r')
  if error=$(grep -o 'Error: .*' <<<"$reply"); then fail "QEMU's monitor refused $*: $error"; fi
  echo "monitor: $*"
}

# The first unit ignores WiFi:open, so that a step lasts until the host pulls the adapter.
start_devsim first --ignore WiFi
start_devsim second

cat >"$share/guest.env" <<EOF
TOLVANE_SCENARIOS='$here/guest-scenarios.sh'
TOLVANE_PROVISION='$provision'
EOF
cat >"$share/full.ini" <<'EOF'
imei = 860000000000001
server_ip = 10.0.0.5
domain = talk.example.com
account = unit7
account_password = s3cret
dealer_password = 4321
apn = cmnet
apn_user = gprs
apn_password = gprs-pw
language = zh_CN
network_type = 2G
EOF
printf 'server_ip = 10.0.0.6\n' >"$share/pool.ini"
printf '860000000000017\n' >"$share/pool-imeis.txt"
printf 'wifi_address = 3c:84:6a:01:22:9f\nwifi_password = parlo123\n' >"$share/unplug.ini"
printf 'server_ip = 10.0.0.7\n' >"$share/wait.ini"
printf '860000000000025\n' >"$share/wait-imeis.txt"

echo "Booting the guest (software emulation)..."
qemu-system-x86_64 -accel tcg -cpu max -m 1024 -nodefaults -no-reboot -display none \
  -kernel "$cache/vmlinuz" -initrd "$cache/initramfs.gz" -append "console=ttyS0 panic=-1 quiet" \
  -serial "file:$tmp/console.log" -monitor "unix:$tmp/monitor.sock,server=on,wait=off" \
  -trace "usb_serial_set_baud,file=$tmp/trace.log" \
  -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
  -virtfs "local,path=$share,mount_tag=out,security_model=none" \
  -device qemu-xhci,id=xhci \
  -chardev "serial,id=first,path=${terminal[first]}" -chardev "serial,id=second,path=${terminal[second]}" \
  -device usb-serial,id=unit1,bus=xhci.0,chardev=first,serial=TV12345 \
  >"$tmp/qemu.log" 2>&1 &
qemu_pid=$!
pids+=("$qemu_pid")

wait_for 120 "the Open Wi-Fi step of the unplug run" grep -qF "PC says WiFi:open" "$tmp/first.log"
monitor device_del unit1
wait_for 120 "the --wait run waiting for a device" test -e "$share/plug-now"
monitor device_add usb-serial,id=unit2,bus=xhci.0,chardev=second,serial=TV67890
for _ in $(seq 1200); do
  kill -0 "$qemu_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$qemu_pid" 2>/dev/null && fail "the guest did not power off within 120 s"
wait "$qemu_pid" || fail "QEMU ended with an error"
[ "$(cat "$share/guest-status" 2>/dev/null)" = 0 ] || fail "the guest's runs did not all take place"

# Every check is made, so that one failure does not hide the others.
failures=0
# problem FILE MESSAGE: a failed check, with FILE's content under it.
problem() {
  echo "FAIL: $2" >&2
  sed 's/^/  | /' "$1" >&2 2>/dev/null || echo "  ($1 is missing)" >&2
  failures=$((failures + 1))
}
# status_is NAME STATUS: the guest's run NAME ended with STATUS.
status_is() { [ "$(cat "$share/$1.status" 2>/dev/null)" = "$2" ]; }
status_of() { cat "$share/$1.status" 2>/dev/null || echo "nothing (it did not run)"; }

if grep -qx 'COM33 (ttyUSB0)' "$share/ports.out"; then
  echo "ok: --list-ports shows COM33 (ttyUSB0)"
else
  problem "$share/ports.out" "--list-ports does not show COM33 (ttyUSB0)"
fi

if status_is full 0; then
  echo "ok: the full profile, every step OK"
else
  problem "$share/full.out" "the full profile ended with $(status_of full)"
fi

pool_ran=yes
for run in pool-init pool-import pool pool-export; do
  status_is "$run" 0 && continue
  problem "$share/$run.out" "$run ended with $(status_of "$run")"
  pool_ran=no
done
if [ "$pool_ran" = yes ]; then
  # imei,state,station,port,usb_serial,...
  IFS=, read -r _ state station _ usb_serial _ < <(grep '^860000000000017,' "$share/record.csv" || echo)
  if [ "$state" != verified ] || [ "$station" != qemu-bench ]; then
    problem "$share/record.csv" "the pool's record does not hold the IMEI as verified by qemu-bench"
  elif [ "$usb_serial" != TV12345 ]; then
    problem "$share/record.csv" "the pool's record holds the USB serial number '$usb_serial', not TV12345"
  else
    echo "ok: the pool's record, verified, with the USB serial number TV12345"
  fi
fi

# Lines such as "usb_serial_set_baud dev 0:1 baud rate 923076"; 3 % either side of 921600.
bauds=$(sed -n 's/.*baud rate \([0-9]*\).*/\1/p' "$tmp/trace.log" | sort -un | paste -sd ' ')
near=no
for baud in $bauds; do
  [ "$baud" -ge 893952 ] && [ "$baud" -le 949248 ] && near=yes
done
if [ "$near" = yes ]; then
  echo "ok: the adapter was set to $bauds baud"
else
  problem "$tmp/trace.log" "the adapter was never set near 921600 baud (set to: ${bauds:-nothing})"
fi

if ! status_is unplug 1; then
  problem "$share/unplug.out" "pulling the adapter out ended the run with $(status_of unplug), not 1"
elif ! grep -Eq 'FAIL +Open Wi-Fi .*(closed|unplugged)' "$share/unplug.out"; then
  problem "$share/unplug.out" "the report does not say that the link closed during Open Wi-Fi"
else
  echo "ok: pulled out during Open Wi-Fi, status 1, the link closed"
fi

if ! status_is wait 0 || ! grep -q 'Result: OK' "$share/wait.out"; then
  problem "$share/wait.out" "the unit plugged in during --wait was not provisioned (status $(status_of wait))"
elif ! grep -qF 'PC says IMEI:860000000000025' "$tmp/second.log"; then
  problem "$tmp/second.log" "the unit plugged in was not the one provisioned"
else
  echo "ok: plugged in during --wait, the new unit provisioned"
fi

[ "$failures" = 0 ] || fail "$failures of 6 checks through ftdi_sio under QEMU"
echo "PASS: tolvane-provision through ftdi_sio under QEMU, 6 checks"
