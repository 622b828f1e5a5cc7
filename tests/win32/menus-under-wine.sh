#!/bin/sh
# The menus of the real Tolvane.exe under Wine, from the keyboard, in English and in Chinese:
# "About Tolvane(&A)..." from the window's system menu opens the About box with its texts, and
# Enter or Esc closes it with the window still there; Shift+F10 on a button opens the window's own
# menu there, whose "Traffic…" opens the traffic window; the system menu's Close ends the program.
# Usage: menus-under-wine.sh TOLVANE_EXE PROBE_EXE   (environment as the Windows tests get it)
set -eu
exe=$1 probe=$2
. "$(dirname "$0")/wine-session.sh"
export TOLVANE_DESKTOP=TolvaneMenus

# check_about TITLE VERSION OK KEY [ARGS...]: the About box of Tolvane.exe ARGS, closed with KEY.
check_about() {
  title=$1 version=$2 ok=$3 key=$4
  shift 4
  start_tolvane "$@"
  open_about
  texts=$(probe dialog)
  [ "$texts" = "$(printf '%s\n%s\n%s' "$title" "$version" "$ok")" ] || fail "the About box reads: $texts"
  xdotool key "$key"
  wait_for "$key did not close the About box" is_closed dialog
  is 1 window || fail "closing the About box ended the program"
  echo "$title: \"$version\" and $ok, closed with $key"
}

check_about "About Tolvane" "Version 1.1" OK Return
# Shift+F10 on the focused Connect button: the window's own menu, at the button.
probe focus 1002
wait_for "Connect did not get the focus" is 1002 focused
xdotool key shift+F10
sleep 0.5
xdotool key Down Return
wait_for "Traffic… from the keyboard did not open the traffic window" is_open traffic
xdotool key Escape
wait_for "Esc did not close the traffic window" is_closed traffic
echo "Shift+F10: Traffic… opened the traffic window; Esc closed it"
# The system menu's Close: the window and the program end.
click_window 1
xdotool key alt+space
sleep 0.5
xdotool key c
wait_for "the system menu's Close did not end the program" is 0 window
wait "$wine_pid" 2>/dev/null || true

check_about "关于 Tolvane" "1.1 版" 确定 Escape --language zh_CN
end_tolvane
echo "PASS: Tolvane.exe's menus under Wine: About in both languages, Traffic… from the keyboard, Close"
