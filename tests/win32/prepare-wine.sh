#!/bin/sh
# Readies the Wine prefix that the Windows tests run in (WINEPREFIX), created on first use, with
# COM<N> standing for LINK. Wine reads its Ports key only when wineserver starts, so the server is
# restarted once the value is set.
# Usage: prepare-wine.sh N LINK
set -eu
com=$1 link=$2
mkdir -p "$WINEPREFIX" "$HOME"
wine reg add 'HKLM\Software\Wine\Ports' /v "COM$com" /t REG_SZ /d "$link" /f >/dev/null 2>&1
# Every program on a Wine desktop of its own rather than as bare X windows: without a window
# manager, Wine waits two seconds at each top-level window's end for one to answer.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Tests /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Tests /t REG_SZ /d 1024x800 /f >/dev/null 2>&1
# Wine draws the caption's buttons with the Marlett font; without it in the prefix the close box
# shows as the letter "r".
fonts=$WINEPREFIX/drive_c/windows/Fonts
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi
wineserver -k 2>/dev/null || true
wineserver -w
# A server of its own whose output goes nowhere: a pseudo-terminal that closes under it (a pulled
# cable) makes it print pages of state. It ends a minute after its last program.
wineserver -p60 </dev/null >/dev/null 2>&1
echo "Wine prefix ready: COM$com stands for $link"
