#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated device and then Tolvane, which chooses the
# simulated port by itself, so that Connect works at once.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
Tolvane is a desktop program and there is no display here (DISPLAY and WAYLAND_DISPLAY are unset).
Run it from a desktop session, or on a virtual display:
    apt-get install xvfb xauth && xvfb-run -a scripts/run.sh
MSG
  exit 1
fi

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target tolvane tolvane-devsim

build=build/release
log=$(mktemp)
"$build/tools/devsim/tolvane-devsim" >"$log" 2>&1 &
devsim=$!
cleanup() {
  kill "$devsim" 2>/dev/null || true
  wait "$devsim" 2>/dev/null || true
  rm -f "$log"
}
trap cleanup EXIT
# Tolvane lists the ports when it starts: wait until the device has registered its port.
for _ in $(seq 100); do
  [ -s "$log" ] && break
  if ! kill -0 "$devsim" 2>/dev/null; then
    echo "The simulated device did not start:" >&2
    cat "$log" >&2
    exit 1
  fi
  sleep 0.1
done
announcement=$(head -n 1 "$log" || true)
echo "$announcement"
port=$(sed -n 's/^tolvane-devsim: \(COM[0-9]* ([^)]*)\).*/\1/p' <<<"$announcement")
echo "Tolvane chooses $port unless a USB serial device is plugged in; then press Connect."
"$build/src/app/tolvane" "$@"
