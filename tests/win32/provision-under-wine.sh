#!/bin/sh
# tolvane-provision.exe under Wine against tolvane-devsim on COM7 and COM8, in a prefix of its own:
# the port list, a dry run that sends nothing, a profile run's exact words on the wire and its
# report, a bad profile that sends nothing, Ctrl-C while a step waits, two processes at once on one
# IMEI list, which never give one IMEI to two devices, and --wait with units plugged in in turn.
# Usage: provision-under-wine.sh PROVISION_EXE   (environment as the Windows tests get it)
set -eu
exe=$1
scratch=$TOLVANE_WINE_SCRATCH/provision
ports="7 8"
. "$(dirname "$0")/provision-prefix.sh"

# device COM LOG [devsim options]: a simulated device behind COM<COM>, its output in LOG.
device() {
  com=$1 log=$2
  shift 2
  sh "$TOLVANE_DEVSIM_WRAPPER" "$TOLVANE_DEVSIM" "$scratch/com$com" "$log" "$@" &
  devsims="$devsims $log.pid"
  for _ in $(seq 200); do
    [ -f "$log.linked" ] && return 0
    sleep 0.1
  done
  fail "the simulated device for COM$com did not start"
}
stop_device() { kill "$(cat "$1.pid")" 2>/dev/null || true; }
# What the PC sent, as the device heard it.
heard() { sed -n 's/^tolvane-devsim: PC says //p' "$1"; }
# run ARGS...: tolvane-provision.exe's output in $out (carriage returns dropped) and its status in $status.
run() {
  status=0
  wine "$exe" "$@" >"$scratch/out" 2>&1 || status=$?
  out=$(tr -d '\r' <"$scratch/out")
}
expect_status() { [ "$status" = "$1" ] || fail "$2: status $status, not $1: $out"; }
expect_line() { printf '%s\n' "$out" | grep -qxF -- "$1" || fail "$2: no line \"$1\" in: $out"; }

profile=$scratch/dealer.ini
printf 'imei = 860000000000001\nserver_ip = 10.0.0.5\ndomain = mirl.example\naccount = bench\naccount_password = s3cret\nlanguage = zh_CN\nnetwork_type = 3G\n' >"$profile"
winprofile="Z:$profile"

device 7 "$scratch/dev7.log"
run --list-ports
expect_status 0 "--list-ports"
expect_line COM7 "--list-ports"

run --port COM7 --profile "$winprofile" --dry-run
expect_status 0 "--dry-run"
expect_line "Dry run: nothing is sent to COM7." "--dry-run"
expect_line "  Set Account/Pw   ACCOUNT:bench^s3cret~" "--dry-run"
[ -z "$(heard "$scratch/dev7.log")" ] || fail "--dry-run sent: $(heard "$scratch/dev7.log")"

run --port COM7 --profile "$winprofile" --report "Z:$scratch/report.json"
expect_status 0 "a profile run"
expect_line "  OK           Set Account/Pw   ACCOUNT:bench^••••~ -- Update account and password OK" "a profile run"
expect_line "  Result: OK" "a profile run"
expected='COM:open
IMEI:860000000000001
IP:10.0.0.5
HOST:mirl.example
ACCOUNT:bench^s3cret
LANGUAGE:zh_CN
NETWORK_TYPE:3G
COM:close
COM:open
COM:close'
[ "$(heard "$scratch/dev7.log")" = "$expected" ] || fail "the device heard: $(heard "$scratch/dev7.log")"
grep -q '"imei": "860000000000001"' "$scratch/report.json" || fail "the report: $(cat "$scratch/report.json")"
echo "PASS: a profile run, its words on the wire and its report"

lines_before=$(wc -l <"$scratch/dev7.log")
printf 'language = fr_FR\n' >"$scratch/bad.ini"
run --port COM7 --profile "Z:$scratch/bad.ini"
expect_status 3 "a bad profile"
[ "$(wc -l <"$scratch/dev7.log")" = "$lines_before" ] || fail "a bad profile sent something"
echo "PASS: a bad profile is refused with status 3 and nothing sent"
stop_device "$scratch/dev7.log"

# Ctrl-C while Update IP waits for an answer that never comes: the step ends, the link closes
# cleanly, status 130.
device 7 "$scratch/ctrlc.log" --ignore IP
wine "$exe" --port COM7 --profile "$winprofile" >"$scratch/out" 2>&1 &
wine_pid=$!
for _ in $(seq 300); do
  heard "$scratch/ctrlc.log" | grep -qx "IP:10.0.0.5" && break
  sleep 0.1
done
heard "$scratch/ctrlc.log" | grep -qx "IP:10.0.0.5" || fail "Update IP was never sent"
sleep 0.5
kill -INT "$wine_pid" 2>/dev/null || true
status=0
wait "$wine_pid" || status=$?
out=$(tr -d '\r' <"$scratch/out")
expect_status 130 "Ctrl-C"
[ "$(heard "$scratch/ctrlc.log" | tail -n 1)" = "COM:close" ] || fail "Ctrl-C left the link open: $(heard "$scratch/ctrlc.log")"
stop_device "$scratch/ctrlc.log"
echo "PASS: Ctrl-C during a step ends the run and closes the link"

# Two processes at once on one IMEI list, three devices each in turn: six different IMEIs.
printf '860000000000101\n860000000000102\n860000000000103\n860000000000104\n860000000000105\n860000000000106\n' \
  >"$scratch/imeis.txt"
printf 'server_ip = 10.0.0.5\n' >"$scratch/list.ini"
for round in 1 2 3; do
  device 7 "$scratch/a$round.log"
  device 8 "$scratch/b$round.log"
  wine "$exe" --port COM7 --profile "Z:$scratch/list.ini" --imei-list "Z:$scratch/imeis.txt" >"$scratch/a.out" 2>&1 &
  a=$!
  wine "$exe" --port COM8 --profile "Z:$scratch/list.ini" --imei-list "Z:$scratch/imeis.txt" >"$scratch/b.out" 2>&1 &
  b=$!
  wait "$a" || fail "round $round, COM7: $(tr -d '\r' <"$scratch/a.out")"
  wait "$b" || fail "round $round, COM8: $(tr -d '\r' <"$scratch/b.out")"
  stop_device "$scratch/a$round.log"
  stop_device "$scratch/b$round.log"
done
written=$(cat "$scratch"/a?.log "$scratch"/b?.log | sed -n 's/^tolvane-devsim: PC says IMEI://p' | sort)
[ "$(echo "$written" | wc -l)" = 6 ] || fail "not six IMEIs written: $written"
[ "$(echo "$written" | uniq | wc -l)" = 6 ] || fail "an IMEI reached two devices: $written"
echo "PASS: two processes on one IMEI list never share an IMEI"

# --wait: a unit plugged in is provisioned, and after it is unplugged the next one. Windows lists a
# USB adapter's port under SERIALCOMM only while it is plugged in; Wine lists its ports always, so
# the test takes COM7's value away and puts it back as a plug would.
serialcomm='HKLM\HARDWARE\DEVICEMAP\SERIALCOMM'
unplug() { wine reg delete "$serialcomm" /v '\Device\Serial6' /f >/dev/null 2>&1; }
plug() { wine reg add "$serialcomm" /v '\Device\Serial6' /t REG_SZ /d COM7 /f >/dev/null 2>&1; }
said() { tr -d '\r' <"$scratch/wait.out" | grep -qxF -- "$1"; }
wait_said() {
  for _ in $(seq 300); do
    said "$1" && return 0
    sleep 0.1
  done
  fail "--wait never said \"$1\": $(tr -d '\r' <"$scratch/wait.out")"
}
printf '860000000000201\n860000000000202\n' >"$scratch/wait.txt"
unplug
wine "$exe" --port COM7 --profile "Z:$scratch/list.ini" --imei-list "Z:$scratch/wait.txt" --wait >"$scratch/wait.out" 2>&1 &
wine_pid=$!
wait_said "Waiting for a device on COM7..."
device 7 "$scratch/w1.log"
plug
wait_said "Done with COM7: unplug it and plug in the next one."
unplug
stop_device "$scratch/w1.log"
wait_said "COM7 was unplugged; waiting for the next device..."
device 7 "$scratch/w2.log"
plug
status=0
wait "$wine_pid" || status=$?
out=$(tr -d '\r' <"$scratch/wait.out")
expect_status 0 "--wait"
[ "$(heard "$scratch/w1.log" | grep '^IMEI:')" = "IMEI:860000000000201" ] || fail "--wait: the first unit heard $(heard "$scratch/w1.log")"
[ "$(heard "$scratch/w2.log" | grep '^IMEI:')" = "IMEI:860000000000202" ] || fail "--wait: the second unit heard $(heard "$scratch/w2.log")"
echo "PASS: --wait provisions each unit plugged in, one after the other"
# An SQLite pool: two devices at once from one process, then two processes at once, each on one
# port; four different IMEIs, each recorded with its station.
if wine "$exe" pool init "Z:$scratch/pool.db" >"$scratch/out" 2>&1; then
  printf '860000000004019\n860000000004027\n860000000004035\n860000000004043\n860000000004050\n' >"$scratch/pool.txt"
  run pool import "Z:$scratch/pool.db" "Z:$scratch/pool.txt"
  expect_status 0 "pool import"
  device 7 "$scratch/p7.log"
  device 8 "$scratch/p8.log"
  run --port COM7 --port COM8 --profile "Z:$scratch/list.ini" --pool "Z:$scratch/pool.db" --station win-1
  expect_status 0 "two devices from a pool"
  stop_device "$scratch/p7.log"
  stop_device "$scratch/p8.log"
  device 7 "$scratch/q7.log"
  device 8 "$scratch/q8.log"
  wine "$exe" --port COM7 --profile "Z:$scratch/list.ini" --pool "Z:$scratch/pool.db" --station win-2 >"$scratch/a.out" 2>&1 &
  a=$!
  wine "$exe" --port COM8 --profile "Z:$scratch/list.ini" --pool "Z:$scratch/pool.db" --station win-3 >"$scratch/b.out" 2>&1 &
  b=$!
  wait "$a" || fail "a pool process on COM7: $(tr -d '\r' <"$scratch/a.out")"
  wait "$b" || fail "a pool process on COM8: $(tr -d '\r' <"$scratch/b.out")"
  written=$(cat "$scratch"/p?.log "$scratch"/q?.log | sed -n 's/^tolvane-devsim: PC says IMEI://p' | sort)
  [ "$(echo "$written" | uniq | wc -l)" = 4 ] || fail "not four different IMEIs from the pool: $written"
  run pool status "Z:$scratch/pool.db"
  expect_line "free 1" "pool status"
  run pool export "Z:$scratch/pool.db" --csv "Z:$scratch/record.csv"
  expect_status 0 "pool export"
  for station in win-1 win-2 win-3; do grep -q ",$station," "$scratch/record.csv" || fail "no $station in the record"; done
  echo "PASS: an SQLite pool, two devices at once and two processes at once, no IMEI twice"
  # A pool nobody answers for: status 8, and nothing reaches the device.
  device 7 "$scratch/unreachable.log"
  run --port COM7 --profile "Z:$scratch/list.ini" --pool postgresql://bench@127.0.0.1:1/pool
  expect_status 8 "an unreachable pool"
  [ -z "$(heard "$scratch/unreachable.log")" ] || fail "an unreachable pool: sent $(heard "$scratch/unreachable.log")"
  stop_device "$scratch/unreachable.log"
  echo "PASS: an unreachable pool ends with status 8 and nothing sent"
else
  echo "SKIP: this tolvane-provision.exe has no pool ($(tr -d '\r' <"$scratch/out"))"
fi
echo "PASS: tolvane-provision.exe under Wine"
