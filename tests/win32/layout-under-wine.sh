#!/bin/sh
# The real Tolvane.exe's window and About box under Wine with other dialog fonts, in English and in
# Chinese: "MS Shell Dlg" and "MS Shell Dlg 2" stand for Wine's Tahoma, for DejaVu Sans (a wider
# Latin font) and for WenQuanYi Micro Hei (a Chinese font, as on a Chinese Windows). In each, the
# probe finds no caption or fixed choice cut, no overlap, and nothing across a frame's edge.
# The fonts are chosen in a prefix of its own, so that they reach no other test: the shared
# prefix's files linked, its registry copied.
# Usage: layout-under-wine.sh TOLVANE_EXE PROBE_EXE   (environment as the Windows tests get it)
set -eu
exe=$1 probe=$2
. "$(dirname "$0")/wine-session.sh"
fonts_prefix=$TOLVANE_WINE_SCRATCH/fonts-prefix
rm -rf "$fonts_prefix"
cp -al "$WINEPREFIX" "$fonts_prefix"
cp --remove-destination "$WINEPREFIX"/*.reg "$fonts_prefix"/
# The server's token for the shared prefix; Wine makes one for this prefix.
rm -f "$fonts_prefix/wineserver"
export WINEPREFIX="$fonts_prefix" TOLVANE_DESKTOP=TolvaneFonts
# This prefix's server goes with the test.
trap 'leave_wine $?; wineserver -k 2>/dev/null || true' EXIT

# layout_is_whole WHAT PROBE_ARGS...: the probe finds nothing wrong with the layout.
layout_is_whole() {
  what=$1
  shift
  faults=$(probe layout "$@")
  [ "$faults" = ok ] || fail "$what: $faults"
}

for font in Tahoma "DejaVu Sans" "WenQuanYi Micro Hei"; do
  for face in "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" /t REG_SZ \
      /d "$font" /f >/dev/null 2>&1
  done
  for language in en_US zh_CN; do
    start_tolvane --language $language
    layout_is_whole "the window in $font, $language"
    size=$(probe rect | cut -d ' ' -f 3,4 | tr ' ' x)
    open_about
    layout_is_whole "the About box in $font, $language" dialog
    xdotool key Escape
    wait_for "Esc did not close the About box" is_closed dialog
    end_tolvane
    echo "$font, $language: the window ($size) and its About box show every caption whole"
  done
done
echo "PASS: Tolvane.exe's layout under Wine holds in Tahoma, DejaVu Sans and WenQuanYi Micro Hei"
