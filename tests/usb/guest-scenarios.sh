#!/usr/bin/env bash
# The runs inside the QEMU guest, in the order usb-serial-under-qemu.sh expects them; it judges the
# results once the guest is off. Every run's output and exit status go to OUT (the writable 9p
# share), as NAME.out and NAME.status. Two runs need the host: it pulls the adapter out when the
# simulated device logs the Open Wi-Fi step's command, and plugs a new one in when this script
# writes OUT/plug-now.
# Usage (in the guest): guest-scenarios.sh OUT PROVISION
# No -e: a run that fails must not keep the later ones from running.
set -uo pipefail
out=$1 provision=$2
cd /run/work || exit 1

say() { echo "guest: $*" >/dev/console; }
# run NAME ARGS...: tolvane-provision ARGS, bounded, its output in NAME.out, its status in NAME.status.
run() {
  local name=$1 status=0
  shift
  timeout 120 "$provision" "$@" >"$out/$name.out" 2>&1 </dev/null || status=$?
  echo "$status" >"$out/$name.status"
  say "$name ended with $status"
}
# until_true SECONDS COMMAND...: waits for COMMAND to succeed, SECONDS at most.
until_true() {
  local tenths=$(($1 * 10))
  shift
  for _ in $(seq "$tenths"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
adapter_there() { [ -e /sys/class/tty/ttyUSB0 ] && [ -e /dev/ttyUSB0 ]; }
adapter_gone() { ! [ -e /sys/class/tty/ttyUSB0 ]; }
waiting() { grep -q "Waiting for a device on" "$out/wait.out" 2>/dev/null; }

# The USB bus is enumerated after the modules load, while the 9p root is mounted.
until_true 30 adapter_there || say "no /dev/ttyUSB0"
# What the driver made of the adapter, for the log when the serial number check fails.
serial=$(cat /sys/class/tty/ttyUSB0/device/../../serial 2>/dev/null)
say "ttyUSB0: driver $(basename "$(readlink /sys/class/tty/ttyUSB0/device/driver)"), USB serial number ${serial:-none}"

run ports --list-ports
run full --port COM33 --profile "$out/full.ini"

run pool-init pool init pool.db
run pool-import pool import pool.db "$out/pool-imeis.txt"
run pool --port COM33 --profile "$out/pool.ini" --pool pool.db --station qemu-bench
run pool-export pool export pool.db --csv "$out/record.csv"

# The simulated device ignores WiFi:open, so the step waits, and the host pulls the adapter then.
run unplug --port COM33 --profile "$out/unplug.ini"

# The next unit comes in on the same port once the old one has left it.
until_true 30 adapter_gone || say "ttyUSB0 is still there after the unplug"
cp "$out/wait-imeis.txt" wait-imeis.txt
run wait --port COM33 --profile "$out/wait.ini" --imei-list wait-imeis.txt --wait &
until_true 60 waiting && touch "$out/plug-now"
wait
