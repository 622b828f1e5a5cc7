#!/usr/bin/env bash
# Links tests/win32/pool-libs-check.c statically against the SQLite and libpq that
# scripts/build-windows-libs.sh cross-built, and runs it under Wine against a throw-away PostgreSQL
# (pg_virtualenv) as a password role that may only log in with scram-sha-256 over TCP.
# Usage: tests/win32/pool-libs-under-wine.sh [PREFIX]   (default build/windows-deps)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$(realpath -m "${1:-$root/build/windows-deps}")
out=$root/build/windows-libs/check

if [ -z "${TOLVANE_IN_PG_VIRTUALENV:-}" ]; then
  mkdir -p "$out"
  x86_64-w64-mingw32-gcc-posix -O2 -Wall -Wextra -Werror -I"$prefix/include" \
    "$root/tests/win32/pool-libs-check.c" -o "$out/pool-libs-check.exe" \
    -static -L"$prefix/lib" -lpq -lsqlite3 -lpthread -lws2_32 -lsecur32 -lshell32 -ladvapi32
  # -t keeps the cluster in a directory of its own, clear of another run's "regress" cluster.
  TOLVANE_IN_PG_VIRTUALENV=1 exec pg_virtualenv -t "$0" "$@"
fi

password=$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')
psql -qX -v ON_ERROR_STOP=1 -v pw="$password" <<'SQL'
set password_encryption = 'scram-sha-256';
create role tolvane_win login password :'pw';
SQL
# Its own first line in pg_hba.conf, so the check does not rest on the cluster's defaults.
hba=$(psql -XAtc 'show hba_file')
sed -i '1i host all tolvane_win 127.0.0.1/32 scram-sha-256' "$hba"
psql -XAtc 'select pg_reload_conf()' >/dev/null
[ "$(psql -XAtc "select rolpassword like 'SCRAM-SHA-256\$%' from pg_authid where rolname = 'tolvane_win'")" = t ]

# A prefix and home of its own; no Mono or Gecko installer on the prefix's first start.
export WINEPREFIX=$out/wine/prefix HOME=$out/wine/home WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
mkdir -p "$HOME"
# The prefix's first start talks about itself; the check's output is what matters.
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
conninfo="host=127.0.0.1 port=$PGPORT dbname=postgres user=tolvane_win connect_timeout=10"
# libpq would fall back on these; the check must use only what it is given.
env -u PGPASSWORD -u PGUSER -u PGHOST -u PGDATABASE -u PGSYSCONFDIR \
  wine "$out/pool-libs-check.exe" "$conninfo password=$password" "$conninfo password=wrong-$password"
