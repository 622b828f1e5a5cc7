#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build (preset ci: warnings as
# errors), then the core's threaded tests under ThreadSanitizer, then everything under
# AddressSanitizer with UBSan, then a short run of the receive path's fuzz target, then the Windows
# build under Wine.
# ThreadSanitizer needs every library built for it; Debian's Qt is not, so the Qt-driven tests
# (window and end-to-end) would only report Qt's own synchronisation as races.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

for preset in ci tsan asan; do
  echo "== $preset =="
  targets=()
  [ "$preset" = tsan ] && targets=(--target tolvane_unit_tests tolvane_engine_tests tolvane_bench_tests)
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" "${targets[@]}"
  ctest --preset "$preset" -j "$jobs"
done

echo "== fuzz (smoke) =="
scripts/fuzz.sh

scripts/test-windows.sh
