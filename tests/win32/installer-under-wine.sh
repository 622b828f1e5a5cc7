#!/bin/sh
# Tolvane's setup.exe under Wine, in a prefix made afresh, for the current user and then for every
# user: a silent install puts Tolvane.exe, TolvaneBench.exe, tolvane-provision.exe (which answers
# --help from there) and its uninstaller in place, with a Start-menu shortcut for each window
# and an entry under Apps (the Uninstall key); the installed Tolvane.exe shows its window; the
# entry's silent uninstall command takes all of it away again and leaves the device the user's
# Tolvane.exe remembered (HKCU\Software\Tolvane) where it was.
# Usage: installer-under-wine.sh SETUP_EXE VERSION PROBE_EXE   (WINEPREFIX, HOME and DISPLAY set)
set -eu
setup=$1 version=$2 probe=$3
exe=
. "$(dirname "$0")/wine-session.sh"
trap 'leave_wine $?; wineserver -k 2>/dev/null || true' EXIT
# printf, not echo: a Windows path holds backslashes.
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  exit 1
}
export TOLVANE_DESKTOP=TolvaneInstalled

rm -rf "$WINEPREFIX" "$HOME"
mkdir -p "$HOME"
wineboot -i >/dev/null 2>&1
wineserver -w

# windows TEXT: TEXT as Wine's cmd expands it (%APPDATA%...); unix PATH: the file behind a Windows path.
windows() { wine cmd /c echo "$1" 2>/dev/null | tr -d '\r'; }
unix() { winepath -u "$1" 2>/dev/null; }
# value KEY NAME: a registry value's data, empty when there is none.
value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
# The prefix's files, but for the temporary folders, where the uninstaller runs a copy of itself.
files() { (cd "$WINEPREFIX/drive_c" && find . | grep -v -i '/temp/\|/temp$' | sort); }
memory='HKCU\Software\Tolvane'

# check MODE ROOT FOLDER MENU: installs for MODE (CurrentUser or AllUsers), expecting the program in
# FOLDER, the Uninstall key under ROOT and the shortcut in MENU; then uninstalls.
check() {
  mode=$1 key="$2\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolvane" folder=$3 menu=$4
  files >"$HOME/before"
  wine "$setup" /S "/$mode" || fail "the installer for $mode ended with $?"

  installed=$(unix "$folder")
  [ "$(LC_ALL=C ls "$installed" | tr '\n' ' ')" = "Tolvane.exe TolvaneBench.exe Uninstall.exe tolvane-provision.exe " ] ||
    fail "$mode: $folder holds $(ls "$installed")"
  # The production line runs from where it was installed.
  help=$(wine "$folder\\tolvane-provision.exe" --help 2>/dev/null | tr -d '\r' | head -n 1) ||
    fail "$mode: tolvane-provision.exe --help ended with $?"
  [ "$help" = "Usage: tolvane-provision [options]" ] || fail "$mode: tolvane-provision.exe --help says: $help"
  shortcut=$(unix "$menu")/Tolvane.lnk
  grep -aqF "$folder\\Tolvane.exe" "$shortcut" || fail "$mode: no shortcut to Tolvane.exe in $menu"
  bench_shortcut=$(unix "$menu")/TolvaneBench.lnk
  grep -aqF "$folder\\TolvaneBench.exe" "$bench_shortcut" || fail "$mode: no shortcut to TolvaneBench.exe in $menu"
  [ "$(value "$key" DisplayName)" = Tolvane ] || fail "$mode: DisplayName"
  [ "$(value "$key" DisplayVersion)" = "$version" ] || fail "$mode: DisplayVersion is \"$(value "$key" DisplayVersion)\""
  [ "$(value "$key" Publisher)" = "Tolvane developers" ] || fail "$mode: Publisher"
  [ "$(value "$key" DisplayIcon)" = "$folder\\Tolvane.exe" ] || fail "$mode: DisplayIcon is \"$(value "$key" DisplayIcon)\""
  # In KB, as Apps shows it: the four files.
  size=$(printf '%d' "$(value "$key" EstimatedSize)")
  kb=$(($(cat "$installed"/* | wc -c) / 1024))
  [ "$size" -ge $((kb - 1)) ] && [ "$size" -le $((kb + 1)) ] || fail "$mode: EstimatedSize is $size KB for $kb KB"
  quiet=$(value "$key" QuietUninstallString)
  [ "$quiet" = "\"$folder\\Uninstall.exe\" /S /$mode" ] || fail "$mode: QuietUninstallString is $quiet"

  exe="$folder\\Tolvane.exe"
  start_tolvane
  end_tolvane
  wine reg add "$memory" /v LastReadyDevice /t REG_SZ /d "$mode-device" /f >/dev/null 2>&1

  # As the entry says; the uninstaller's copy of itself ends after the command does.
  wine "$folder\\Uninstall.exe" /S "/$mode" || fail "$mode: the uninstaller ended with $?"
  wineserver -w
  [ -z "$(value "$key" DisplayName)" ] || fail "$mode: the Uninstall key is still there"
  [ ! -e "$shortcut" ] || fail "$mode: the shortcut is still there"
  [ ! -e "$bench_shortcut" ] || fail "$mode: the bench's shortcut is still there"
  [ ! -e "$installed" ] || fail "$mode: $folder is still there"
  [ "$(value "$memory" LastReadyDevice)" = "$mode-device" ] || fail "$mode: the remembered device is gone"
  files >"$HOME/after"
  diff "$HOME/before" "$HOME/after" || fail "$mode: the uninstall left files behind, or took some"
  printf '%s\n' "$mode: installed in $folder, the window shown, uninstalled; the remembered device kept"
}

check CurrentUser HKCU "$(windows '%LOCALAPPDATA%')\\Programs\\Tolvane" \
  "$(windows '%APPDATA%')\\Microsoft\\Windows\\Start Menu\\Programs"
check AllUsers HKLM "$(windows '%ProgramW6432%')\\Tolvane" \
  "$(windows '%ProgramData%')\\Microsoft\\Windows\\Start Menu\\Programs"
echo "PASS: $(basename "$setup") under Wine, per user and per machine"
