#!/bin/sh
# The real Tolvane.exe under Wine on the display, used from the keyboard as a person would, with
# xdotool (Wine's windows are X windows): the window appears, the simulated device is chosen in
# the port list, Connect makes it ready and brings its IMEI, a new dealer password goes to the
# device and its answer comes up in a box, Enter and Esc leave the window open, Close ends the link
# and Alt+F4 ends the program. "Traffic…" from the right-click menu, its Save… and --trace FILE show
# the exchange with the password masked, and its Clear empties it; the next start picks the device
# that was ready last.
# tolvane_window_probe reads the controls back.
# Usage: window-under-wine.sh TOLVANE_EXE PROBE_EXE   (environment as the Windows tests get it)
set -eu
exe=$1 probe=$2
port=COM$TOLVANE_WINE_COM
log=$TOLVANE_WINE_SCRATCH/window-test-devsim.log
trace=$TOLVANE_WINE_SCRATCH/window-test-trace.txt
rm -f "$log.linked" "$trace"
# No device remembered from an earlier run.
wine reg delete 'HKCU\Software\Tolvane' /f >/dev/null 2>&1 || true

. "$(dirname "$0")/wine-session.sh"
device_said() { grep -q "PC says $1" "$log"; }
# focus ID: moves the keyboard focus there, as Tab would, and waits until it has.
focus() {
  probe focus "$1"
  wait_for "control $1 did not get the focus" is "$1" focused
}

sh "$TOLVANE_DEVSIM_WRAPPER" "$TOLVANE_DEVSIM" "$TOLVANE_WINE_COM_LINK" "$log" &
wait_for "the simulated device did not come up" test -s "$log.linked"
devsim=$(cat "$log.pid")
export TOLVANE_DESKTOP=TolvaneTest
trap 'status=$?; kill "$devsim" 2>/dev/null || true; leave_wine $status' EXIT

start_tolvane --trace "Z:$trace"
echo "the window is up; the port list shows $(probe text 1001)"

# "Traffic…" from the right-click menu opens the traffic window; a click back on the main window
# gives the keyboard back to the port list.
click_window 3
sleep 0.5
xdotool key Down Return
wait_for "Traffic… did not open the traffic window" is_open traffic
click_window 1
wait_for "the port list did not get the focus back (focus: $(probe focused), spot: $(probe spot))" is 1001 focused

# The port list has the focus: the arrow keys walk it until the device's port shows.
for _ in $(seq 20); do
  [ "$(probe text 1001)" = "$port" ] && break
  xdotool key Down
  sleep 0.2
done
[ "$(probe text 1001)" = "$port" ] || fail "$port could not be chosen in the port list"

# Enter and Esc in the port list must not close the window.
xdotool key Return Escape
sleep 0.5
is 1 window || fail "Enter or Esc closed the window"

xdotool key Tab space
wait_for "Connect did not make the device ready" is 1 enabled 1009
is Close text 1002 || fail "the Connect button does not read Close"
device_said COM:open || fail "the device never heard COM:open"
wait_for "the status strip does not say the device is ready" is "Device ready on $port" text 1100
wait_for "the device's IMEI did not reach its field" is 356938035643809 text 1003
echo "connected: the command buttons are enabled, the IMEI field shows the device's"

# A command and its reply: a new dealer password, typed, sent with Update Pw, answered in a box.
focus 1041
xdotool type --delay 50 4711
focus 1021
xdotool key space
wait_for "no box said the dealer password was updated" is "Update dealer password OK" box
device_said CUSTOMER_PW:4711 || fail "the device did not get the password typed"
xdotool key Return
wait_for "OK did not close the box" is "" box
echo "Update Pw: the device took the password and the window said so"

focus 1002
xdotool key space
wait_for "Close did not end the link" is Connect text 1002
is 0 enabled 1009 || fail "the command buttons stayed enabled after Close"
wait_for "the device never heard COM:close" device_said COM:close
is "Not connected" text 1100 || fail "the status strip does not say the link is closed"
echo "closed: the device heard COM:close"

# The traffic window and the trace file hold the exchange, newest last, and never the password.
traffic_shows() { probe traffic | grep -qF "$1"; }
for line in "→ device  COM:open" "← device  IMEI:" "→ device  CUSTOMER_PW:••••" "→ device  COM:close"; do
  wait_for "the traffic window does not show \"$line\"" traffic_shows "$line"
done
traffic_shows 4711 && fail "the traffic window shows the password"
echo "the traffic window shows the exchange with the password masked"

# Save… writes the lines to the file named in the save box; Clear empties the window.
click_traffic() {
  spot=$(probe traffic-spot "$1")
  xdotool mousemove --window "$desktop" ${spot% *} ${spot#* } click 1
}
saved=$TOLVANE_WINE_SCRATCH/window-test-saved.txt
rm -f "$saved"
# "Traffic…" again brings the open window to the front (Wine keeps an owned window above its owner
# only when it is a pop-up).
click_window 3
sleep 0.5
xdotool key Down Return
sleep 0.5
click_traffic 101
wait_for "Save… opened no box" is_open dialog
xdotool key End shift+Home
xdotool type --delay 20 "$(winepath -w "$saved")"
xdotool key Return
wait_for "Save… wrote no file" test -s "$saved"
for line in "→ device  COM:open" "→ device  CUSTOMER_PW:••••" "→ device  COM:close"; do
  grep -qF "$line" "$saved" || fail "the saved file does not hold \"$line\""
done
grep -q 4711 "$saved" && fail "the saved file holds the password"
click_traffic 102
wait_for "Clear did not empty the traffic window" is "" traffic
echo "Save… wrote the lines with the password masked; Clear emptied the window"
click_window 1

end_tolvane
for line in "→ device  COM:open" "→ device  CUSTOMER_PW:••••" "← device  CUSTOMER_PW:" "→ device  COM:close"; do
  grep -qF "$line" "$trace" || fail "the trace file does not hold \"$line\""
done
grep -q 4711 "$trace" && fail "the trace file holds the password"
[ "$(grep -n 'COM:open' "$trace" | head -n 1 | cut -d: -f1)" -lt "$(grep -n 'COM:close' "$trace" | tail -n 1 | cut -d: -f1)" ] ||
  fail "the trace file's lines are out of order"
echo "--trace: the file holds the exchange with the password masked"

# The next start picks the device that was ready last, before any key is pressed.
start_tolvane
is "$port" text 1001 || fail "the port list shows $(probe text 1001), not the remembered $port"
end_tolvane
echo "PASS: Tolvane.exe under Wine: chosen, connected, a command answered, traced, closed and ended from the keyboard; the device remembered"
