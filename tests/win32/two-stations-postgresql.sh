#!/bin/sh
# A Windows station (tolvane-provision.exe under Wine) and a Linux station (tolvane-provision) at
# the same moment on one PostgreSQL pool, in a throw-away cluster: three rounds of a device each,
# six different IMEIs, and the pool's record names both stations.
# Usage: two-stations-postgresql.sh PROVISION_EXE LINUX_PROVISION   (environment as the Windows tests get it)
set -eu
if [ -z "${TOLVANE_IN_PG_VIRTUALENV:-}" ]; then
  TOLVANE_IN_PG_VIRTUALENV=1 exec pg_virtualenv -t sh "$0" "$@"
fi
exe=$1 linux=$2
scratch=$TOLVANE_WINE_SCRATCH/two-stations
ports=7
. "$(dirname "$0")/provision-prefix.sh"
mkdir -p "$scratch/registry"
export TOLVANE_PORT_REGISTRY=$scratch/registry

# Over TCP, as a bench PC reaches the server; the password from PGPASSWORD on both stations.
psql -qX -c 'create database tolvane_two'
pool="postgresql://$PGUSER@127.0.0.1:${PGPORT:-5432}/tolvane_two"
"$linux" pool init "$pool" >/dev/null
printf '860000000004019\n860000000004027\n860000000004035\n860000000004043\n860000000004050\n860000000004068\n' \
  >"$scratch/imeis.txt"
"$linux" pool import "$pool" "$scratch/imeis.txt" >/dev/null
printf 'server_ip = 10.0.0.5\n' >"$scratch/line.ini"

for round in 1 2 3; do
  # The Windows station's device on COM7, the Linux station's on COM200 (ttySIM0).
  sh "$TOLVANE_DEVSIM_WRAPPER" "$TOLVANE_DEVSIM" "$scratch/com7" "$scratch/win$round.log" &
  devsims="$devsims $scratch/win$round.log.pid"
  "$TOLVANE_DEVSIM" --registry "$scratch/registry" >"$scratch/linux$round.log" 2>&1 &
  linux_devsim=$!
  for _ in $(seq 200); do
    [ -f "$scratch/win$round.log.linked" ] && grep -q ' at /dev/' "$scratch/linux$round.log" && break
    sleep 0.1
  done
  wine "$exe" --port COM7 --profile "Z:$scratch/line.ini" --pool "$pool" --station windows-bench >"$scratch/w.out" 2>&1 &
  w=$!
  "$linux" --port COM200 --profile "$scratch/line.ini" --pool "$pool" --station linux-bench >"$scratch/l.out" 2>&1 &
  l=$!
  wait "$w" || fail "round $round, the Windows station: $(tr -d '\r' <"$scratch/w.out")"
  wait "$l" || fail "round $round, the Linux station: $(cat "$scratch/l.out")"
  kill "$(cat "$scratch/win$round.log.pid")" "$linux_devsim" 2>/dev/null || true
  # Gone from the registry before the next one takes its place as COM200.
  wait "$linux_devsim" 2>/dev/null || true
done

written=$(cat "$scratch"/win?.log "$scratch"/linux?.log | sed -n 's/^tolvane-devsim: PC says IMEI://p' | sort)
[ "$(echo "$written" | wc -l)" = 6 ] || fail "not six IMEIs written: $written"
[ "$(echo "$written" | uniq | wc -l)" = 6 ] || fail "an IMEI reached two devices: $written"
"$linux" pool export "$pool" --csv "$scratch/record.csv"
[ "$(grep -c ',windows-bench,' "$scratch/record.csv")" = 3 ] || fail "the record: $(cat "$scratch/record.csv")"
[ "$(grep -c ',linux-bench,' "$scratch/record.csv")" = 3 ] || fail "the record: $(cat "$scratch/record.csv")"
echo "PASS: a Windows and a Linux station on one PostgreSQL pool, six devices, no IMEI twice"
