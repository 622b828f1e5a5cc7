#!/bin/sh
# Draws the main window under Xvfb into docs/: in English as the device's reports fill it in,
# in Chinese as it starts, and with the radio panels filled.
# Needs the tolvane_screenshot target built in the build directory (default build/dev).
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
echo "wrote docs/tolvane.png, docs/tolvane-zh.png and docs/tolvane-radios.png"
