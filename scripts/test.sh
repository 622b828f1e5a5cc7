#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, then the threaded tests
# under ThreadSanitizer, then everything under AddressSanitizer with UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

for preset in dev tsan asan; do
  echo "== $preset =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
