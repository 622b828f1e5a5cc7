#!/bin/sh
# TolvaneBench.exe under Wine with two slots, COM7 and COM8, each with a simulated device, in a
# prefix of its own: both tiles come to PASS with an IMEI of the list, the window closes with status
# 0 once asked, and the list's .done file holds both IMEIs.
# Usage: bench-under-wine.sh BENCH_EXE PROBE_EXE   (environment as the Windows tests get it)
set -eu
exe=$1 probe=$2
scratch=$TOLVANE_WINE_SCRATCH/bench
ports="7 8"
. "$(dirname "$0")/provision-prefix.sh"

device() {
  com=$1 log=$2
  sh "$TOLVANE_DEVSIM_WRAPPER" "$TOLVANE_DEVSIM" "$scratch/com$com" "$log" &
  devsims="$devsims $log.pid"
  for _ in $(seq 200); do
    [ -f "$log.linked" ] && return 0
    sleep 0.1
  done
  fail "the simulated device for COM$com did not start"
}
tiles() { wine "$probe" tiles 2>/dev/null | tr -d '\r'; }

printf 'server_ip = 10.0.0.5\n' >"$scratch/bench.ini"
# A third IMEI keeps the bench waiting for a unit: with the list used up it would end by itself.
printf '860000000000301\n860000000000302\n860000000000303\n' >"$scratch/imeis.txt"
device 7 "$scratch/dev7.log"
device 8 "$scratch/dev8.log"
wine "$exe" --port COM7 --port COM8 --profile "Z:$scratch/bench.ini" --imei-list "Z:$scratch/imeis.txt" \
  >"$scratch/out" 2>&1 &
bench=$!

# Each tile names its port and, once done, its verdict and the IMEI it wrote.
passed() {
  shown=$(tiles)
  for com in COM7 COM8; do
    printf '%s\n' "$shown" | grep -q "^$com[^	]*	PASS: IMEI 86000000000030[123]" || return 1
  done
}
for _ in $(seq 600); do
  passed && break
  sleep 0.2
done
passed || fail "the tiles never both showed PASS: $shown"
[ "$(printf '%s\n' "$shown" | grep -o 'IMEI 8600000000003[0-9]*' | sort -u | wc -l)" = 2 ] ||
  fail "the tiles do not show two different IMEIs: $shown"
echo "PASS: both tiles show PASS with their IMEIs"
if [ -n "${TOLVANE_BENCH_SHOT:-}" ]; then wine "$probe" shot "$TOLVANE_BENCH_SHOT" >/dev/null 2>&1 || true; fi

wine "$probe" close >/dev/null 2>&1 || fail "the window could not be asked to close"
status=0
wait "$bench" || status=$?
[ "$status" = 0 ] || fail "closing ended with status $status: $(tr -d '\r' <"$scratch/out")"
for imei in $(printf '%s\n' "$shown" | grep -o 'IMEI 8600000000003[0-9]*' | cut -d' ' -f2); do
  grep -q "^$imei" "$scratch/imeis.txt.done" || fail "$imei is not in the .done file: $(cat "$scratch/imeis.txt.done")"
done
echo "PASS: TolvaneBench.exe under Wine"
