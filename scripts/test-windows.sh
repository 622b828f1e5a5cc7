#!/usr/bin/env bash
# Cross-builds Tolvane.exe and runs the Windows tests under Wine on a virtual display: the core's
# suite, the Win32 layer and its window, the COM port against tolvane-devsim (the Linux build's),
# and the real Tolvane.exe driven from the keyboard with xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/install-windows-deps.sh
# The pool's SQLite and libpq for Windows, from Debian's sources; built once, then reused.
scripts/build-windows-libs.sh
jobs=$(nproc)

# The simulated device is a Linux program: it comes from the Linux build, as does the Linux station
# that shares a PostgreSQL pool with a Windows one.
cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs" --target tolvane-devsim tolvane-provision
devsim=$PWD/build/ci/tools/devsim/tolvane-devsim
provision=$PWD/build/ci/src/cli/tolvane-provision

echo "== windows =="
cmake --preset windows -DTOLVANE_DEVSIM="$devsim" -DTOLVANE_LINUX_PROVISION="$provision" >/dev/null
cmake --build --preset windows -j "$jobs"

# Wine keeps to its own prefix and home in the build folder (the tests set them); this stops its
# server once the tests are done, so nothing of it outlives the run.
stop_wine() {
  WINEPREFIX=$PWD/build/windows/wine/prefix wineserver -k 2>/dev/null || true
}
trap stop_wine EXIT
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" ctest --preset windows
