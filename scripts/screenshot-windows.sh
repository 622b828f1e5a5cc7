#!/usr/bin/env bash
# Draws Tolvane.exe under Wine on a virtual display into docs/, with Wine's own window frame (a
# Wine desktop, so that the caption is drawn as Windows draws it): docs/tolvane-windows.png in
# English with the prefix's dialog font, and docs/tolvane-windows-zh.png in Chinese with a Chinese
# dialog font (WenQuanYi Micro Hei standing for "MS Shell Dlg"), as on a Chinese Windows. And
# TolvaneBench.exe's bench of four, the same two ways: docs/tolvane-bench-windows.png and
# docs/tolvane-bench-windows-zh.png (its layout test saves them). "bench" or "main" makes only those.
# Needs build/windows built with its tests (for the window probe); run scripts/test-windows.sh first.
set -euo pipefail
# On a display of its own, so that nothing else is in the picture.
if [ -z "${TOLVANE_SHOT_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" env TOLVANE_SHOT_DISPLAY=1 "$0" "$@"
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/windows
exe=$build/Tolvane.exe
probe=$build/tests/win32/tolvane_window_probe.exe
for file in "$exe" "$probe"; do
  [ -f "$file" ] || { echo "missing $file: build the windows preset first" >&2; exit 1; }
done

# The bench's pictures come as BMP from its probe; Python makes them PNG.
if [ "${1:-}" != main ]; then
  (cd "$build" && TOLVANE_BENCH_SHOTS=$root/docs ctest -R '^bench_exe_layout$' --output-on-failure >/dev/null) ||
    { echo "the bench window's layout test failed" >&2; exit 1; }
  for name in tolvane-bench-windows tolvane-bench-windows-zh; do
    python3 "$root/scripts/bmp-to-png.py" "$root/docs/$name.bmp" "$root/docs/$name.png"
    rm "$root/docs/$name.bmp"
    echo "wrote docs/$name.png"
  done
  [ "${1:-}" != bench ] || exit 0
fi
command -v import >/dev/null || { echo "needs ImageMagick: apt-get install imagemagick" >&2; exit 1; }

export WINEPREFIX=$build/wine/prefix HOME=$build/wine/home WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
mkdir -p "$WINEPREFIX" "$HOME" "$root/docs"
probe() { wine "$probe" "$@" 2>/dev/null | tr -d '\r'; }

# shoot FILE [ARGS...]: Tolvane.exe ARGS, active as a user sees it, into FILE.
shoot() {
  local file=$1
  shift
  export TOLVANE_DESKTOP=TolvaneShot
  wine explorer /desktop=$TOLVANE_DESKTOP,900x760 "$exe" "$@" >/dev/null 2>&1 &
  for _ in $(seq 200); do
    [ "$(probe window)" = 1 ] && break
    sleep 0.1
  done
  [ "$(probe window)" = 1 ] || { echo "Tolvane.exe did not come up" >&2; exit 1; }
  local desktop spot x y width height
  desktop=$(xdotool search --name "^$TOLVANE_DESKTOP" | head -n 1)
  # A click on a bare spot of the window makes it the active one.
  xdotool windowfocus "$desktop" 2>/dev/null || true
  spot=$(probe spot)
  xdotool mousemove --window "$desktop" ${spot% *} ${spot#* } click 1
  xdotool mousemove --window "$desktop" 0 0
  sleep 1  # let it paint
  # Where the window is now, once it has grown by its status strip.
  read -r x y width height <<<"$(probe rect)"
  import -window "$desktop" -crop "${width}x${height}+${x}+${y}" +repage "$file"
  wineserver -k
  echo "wrote ${file#"$root/"}"
}

shoot "$root/docs/tolvane-windows.png"

# The Chinese font in a prefix of its own: the test prefix's files linked, its registry copied.
fonts_prefix=$build/wine/shot-prefix
rm -rf "$fonts_prefix"
cp -al "$WINEPREFIX" "$fonts_prefix"
cp --remove-destination "$WINEPREFIX"/*.reg "$fonts_prefix"/
rm -f "$fonts_prefix/wineserver"
export WINEPREFIX=$fonts_prefix
for face in "MS Shell Dlg" "MS Shell Dlg 2"; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" /t REG_SZ \
    /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
done
shoot "$root/docs/tolvane-windows-zh.png" --language zh_CN
rm -rf "$fonts_prefix"
