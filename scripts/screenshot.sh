#!/bin/sh
# Draws the main window under Xvfb into docs/: in English as the device's reports fill it in,
# in Chinese as it starts, with the radio panels filled, and the traffic window; and the bench
# window in both languages with four simulated units.
# Needs the tolvane_screenshot and tolvane_bench_screenshot targets built in the build directory
# (default build/dev).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/dev}
tool=$build/tests/qt/tolvane_screenshot
if [ ! -x "$tool" ]; then
  echo "missing $tool: build the tolvane_screenshot target first" >&2
  exit 1
fi
mkdir -p "$root/docs"
shoot() {
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$tool" "$@"
}
shoot "$root/docs/tolvane.png" en --connected
shoot "$root/docs/tolvane-zh.png" zh
shoot "$root/docs/tolvane-radios.png" en --radios
shoot "$root/docs/tolvane-traffic.png" en --traffic
tool=$build/tests/e2e/tolvane_bench_screenshot
shoot "$root/docs/tolvane-bench.png" en
shoot "$root/docs/tolvane-bench-zh.png" zh
echo "wrote docs/tolvane.png, docs/tolvane-zh.png, docs/tolvane-radios.png, docs/tolvane-traffic.png," \
  "docs/tolvane-bench.png and docs/tolvane-bench-zh.png"
