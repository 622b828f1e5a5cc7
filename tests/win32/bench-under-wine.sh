#!/bin/sh
# TolvaneBench.exe under Wine with four slots, COM7 to COM10, in a prefix of its own: a unit that
# passes, one that refuses the domain, one that never answers the account and one pulled out
# mid-run each get their own verdict and IMEI, as their devices heard it; the first unit swapped for
# a new one gets a new IMEI and passes; the window closes with status 0 once asked.
# Usage: bench-under-wine.sh BENCH_EXE PROBE_EXE   (environment as the Windows tests get it)
set -eu
exe=$1 probe=$2
if [ -z "${TOLVANE_BENCH_ATTEMPT:-}" ]; then
  # Now and then Wine's serial layer refuses a pseudo-terminal's first open ("the serial port is
  # occupied or does not exist") while its device is up and nothing else holds it. That is Wine's,
  # not the bench's, so such a run gets one more try, from a fresh prefix with fresh units.
  output=$(mktemp)
  status=0
  TOLVANE_BENCH_ATTEMPT=1 sh "$0" "$@" >"$output" 2>&1 || status=$?
  cat "$output"
  if [ "$status" -ne 0 ] && grep -q "occupied or does not exist" "$output"; then
    rm -f "$output"
    echo "again: Wine refused a port's first open"
    TOLVANE_BENCH_ATTEMPT=2 exec sh "$0" "$@"
  fi
  rm -f "$output"
  exit "$status"
fi
scratch=$TOLVANE_WINE_SCRATCH/bench
ports="7 8 9 10"
. "$(dirname "$0")/bench-session.sh"

printf 'domain = mirl.example.com\naccount = bench\naccount_password = s3cret\n' >"$scratch/bench.ini"
printf '860000000000017\n860000000000025\n860000000000033\n860000000000041\n860000000000058\n' >"$scratch/imeis.txt"
device 7 "$scratch/dev7.log"
device 8 "$scratch/dev8.log" --refuse HOST
device 9 "$scratch/dev9.log" --ignore ACCOUNT
device 10 "$scratch/dev10.log" --unplug-after 2
start_bench --port COM7 --port COM8 --port COM9 --port COM10 --profile "Z:$scratch/bench.ini" \
  --imei-list "Z:$scratch/imeis.txt"

verdicts() { starts 1 PASS && starts 2 FAIL && starts 3 'NO RESPONSE' && starts 4 FAIL; }
wait_until "the tiles never came to PASS, FAIL, NO RESPONSE and FAIL" verdicts
status_of 2 | grep -q "Update Domain" || fail "the refusal does not name its step: $(status_of 2)"
status_of 3 | grep -q "Set Account/Pw" || fail "the silence does not name its step: $(status_of 3)"
for slot in 1 2 3 4; do
  imei=$(imei_of $slot)
  [ -n "$imei" ] || fail "tile $slot names no IMEI: $(tile $slot)"
  heard "$scratch/dev$((slot + 6)).log" "$imei" || fail "the unit in COM$((slot + 6)) never heard $imei: $(tile $slot)"
done
counters=$(probe counters | head -n 2 | tr '\n' ' ')
[ "$counters" = "Passed: 1 Failed: 3 " ] || fail "the counters say: $counters"
echo "PASS: four tiles, each with its own unit's verdict and IMEI; the counters add them up"

# The first unit goes and a new one takes its slot; the port list is looked at every second.
first=$(imei_of 1)
unplug 7 "$scratch/dev7.log"
sleep 1.5
starts 1 PASS || fail "the verdict went with the unit: $(tile 1)"
device 7 "$scratch/dev7b.log"
plug 7
# One reading: the old verdict shows until the new unit's steps replace it.
new_pass() {
  shown=$(status_of 1)
  imei=$(printf '%s\n' "$shown" | grep -o 'IMEI 86[0-9]*' | cut -d ' ' -f 2)
  case $shown in PASS*) [ -n "$imei" ] && [ "$imei" != "$first" ] ;; *) false ;; esac
}
wait_until "the new unit in COM7 never passed with an IMEI of its own" new_pass
heard "$scratch/dev7b.log" "$imei" || fail "the new unit never heard $imei: $shown"
echo "PASS: a new unit in the first slot passes with a new IMEI"

close_bench
echo "PASS: TolvaneBench.exe under Wine"
