# What the scripts that drive the real Tolvane.exe under Wine share, sourced after exe and probe
# are set: TOLVANE_EXE and tolvane_window_probe.exe. Wine's windows are X windows, so xdotool
# types and clicks as a user would; the probe reads the controls back.

# leave_wine STATUS: ends what the script started; after a failure, every program in the prefix
# too, so that nothing left behind holds the display or the files of the run.
leave_wine() {
  kill "${wine_pid:-}" 2>/dev/null || true
  [ "$1" = 0 ] || wineserver -k 2>/dev/null || true
}
trap 'leave_wine $?' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# probe ARGS...: what the probe prints, without Wine's carriage return.
probe() { wine "$probe" "$@" 2>/dev/null | tr -d '\r'; }
# wait_for DESCRIPTION COMMAND...: until the command succeeds, within a generous bound.
wait_for() {
  what=$1
  shift
  for _ in $(seq 200); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  fail "$what"
}
# is EXPECTED PROBE_ARGS...: the probe prints EXPECTED.
is() {
  expected=$1
  shift
  [ "$(probe "$@")" = "$expected" ]
}
# is_open WHAT / is_closed WHAT: whether the traffic window or a dialog over the window is open,
# as the probe's status says.
is_open() { wine "$probe" "$@" >/dev/null 2>&1; }
is_closed() { ! is_open "$@"; }
# start_tolvane ARGS...: Tolvane.exe on a Wine desktop of its own (TOLVANE_DESKTOP), shown and
# with the keyboard; wine_pid and desktop say where.
start_tolvane() {
  wine explorer /desktop=$TOLVANE_DESKTOP,1200x900 "$exe" "$@" >/dev/null 2>&1 &
  wine_pid=$!
  wait_for "the window did not appear" is 1 window
  desktop=$(xdotool search --name "^$TOLVANE_DESKTOP" | head -n 1)
  xdotool windowfocus --sync "$desktop" 2>/dev/null || xdotool windowfocus "$desktop"
}
# end_tolvane: Alt+F4, as a user ends it, and the program gone.
end_tolvane() {
  xdotool key alt+F4
  wait_for "Alt+F4 did not end the program" is 0 window
  wait "$wine_pid" 2>/dev/null || true
}
# click_window BUTTON: a mouse click on a bare spot of the main window.
click_window() {
  spot=$(probe spot)
  xdotool mousemove --window "$desktop" ${spot% *} ${spot#* } click "$1"
}
# open_about: "About Tolvane(&A)...", the last entry of the window's system menu, from the keyboard.
open_about() {
  xdotool key alt+space
  sleep 0.5
  xdotool key Up Return
  wait_for "the system menu did not open the About box" is_open dialog
}
