#!/usr/bin/env bash
# Draws Tolvane.exe under Wine on a virtual display into docs/tolvane-windows.png, with Wine's own
# window frame (a Wine desktop, so that the caption is drawn as Windows draws it).
# Needs build/windows built with its tests (for the window probe); run scripts/test-windows.sh first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/windows
exe=$build/Tolvane.exe
probe=$build/tests/win32/tolvane_window_probe.exe
for file in "$exe" "$probe"; do
  [ -f "$file" ] || { echo "missing $file: build the windows preset first" >&2; exit 1; }
done
command -v import >/dev/null || { echo "needs ImageMagick: apt-get install imagemagick" >&2; exit 1; }

export WINEPREFIX=$build/wine/prefix HOME=$build/wine/home WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
mkdir -p "$WINEPREFIX" "$HOME" "$root/docs"

shoot() {
  wine explorer /desktop=TolvaneShot,900x760 "$exe" >/dev/null 2>&1 &
  local window=""
  for _ in $(seq 200); do
    window=$(wine "$probe" rect 2>/dev/null | tr -d '\r') && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "Tolvane.exe did not come up" >&2; return 1; }
  sleep 1  # let it paint
  read -r x y width height <<<"$window"
  local desktop
  desktop=$(xdotool search --name '^TolvaneShot' | head -n 1)
  import -window "$desktop" -crop "${width}x${height}+${x}+${y}" +repage "$root/docs/tolvane-windows.png"
  wineserver -k
}
export -f shoot
export root exe probe
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" bash -c shoot
echo "wrote docs/tolvane-windows.png"
