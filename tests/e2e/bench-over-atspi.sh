#!/bin/sh
# tolvane-bench read from outside over the accessibility bus, as a screen reader reads it, on a
# virtual display: two simulated units, and each tile says PASS with the IMEI its own unit heard.
# Then Ctrl-C closes the bench as its close box does: the links close and it exits 0.
# Usage: bench-over-atspi.sh TOLVANE_BENCH TOLVANE_DEVSIM READER   (77: skipped)
set -eu
bench=$1 devsim=$2 reader=$3
if [ -z "${TOLVANE_ATSPI_INNER:-}" ]; then
  command -v dbus-run-session >/dev/null && command -v xvfb-run >/dev/null || exit 77
  /usr/bin/python3 -c "import pyatspi" 2>/dev/null || exit 77
  TOLVANE_ATSPI_INNER=1 exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

work=$(mktemp -d)
pids=""
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export TOLVANE_PORT_REGISTRY="$work/registry"
for unit in 0 1; do
  "$devsim" --exit-with-parent </dev/null >"$work/unit$unit.log" 2>&1 &
  pids="$pids $!"
  for _ in $(seq 100); do
    grep -q "COM20$unit" "$work/unit$unit.log" && break
    sleep 0.1
  done
done
printf 'domain = mirl.example.com\naccount = bench\naccount_password = s3cret\n' >"$work/dealer.ini"
printf '860000000000017\n860000000000025\n' >"$work/imeis.txt"

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
  "$bench" --profile "$work/dealer.ini" --imei-list "$work/imeis.txt" --port COM200 --port COM201 \
  >"$work/bench.log" 2>&1 &
bench_pid=$!
pids="$pids $bench_pid"

status=0
/usr/bin/python3 "$reader" tolvane-bench 2 PASS 120 >"$work/tiles.txt" || status=1
cat "$work/tiles.txt"
for unit in 0 1; do
  imei=$(sed -n "s/^COM20$unit (ttySIM$unit): PASS: IMEI \([0-9]*\).*/\1/p" "$work/tiles.txt")
  [ -n "$imei" ] || { echo "FAIL: tile COM20$unit has no PASS with an IMEI"; status=1; continue; }
  grep -q "PC says IMEI:$imei" "$work/unit$unit.log" || { echo "FAIL: unit $unit never heard IMEI $imei"; status=1; }
done
grep -qx "Passed: 2" "$work/tiles.txt" || { echo "FAIL: the counters do not say Passed: 2"; status=1; }

kill -INT "$bench_pid"
bench_status=0
wait "$bench_pid" || bench_status=$?
[ "$bench_status" -eq 0 ] || { echo "FAIL: tolvane-bench exited $bench_status after Ctrl-C"; cat "$work/bench.log"; status=1; }
for unit in 0 1; do
  grep -q "PC says COM:close" "$work/unit$unit.log" || { echo "FAIL: unit $unit's link was not closed"; status=1; }
done
exit $status
