# What the scripts that drive TolvaneBench.exe share, sourced with exe, probe, scratch and ports set
# (as provision-prefix.sh wants them): that prefix, simulated devices plugged in and out, and the
# bench started, read and closed. With TOLVANE_DESKTOP set, the bench runs on that Wine desktop.
. "$(dirname "$0")/provision-prefix.sh"
# Wine draws the caption's buttons in Marlett, which a new prefix lacks.
if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi

# device COM LOG [devsim options]: a simulated device plugged into COM<COM>, its output in LOG.
device() {
  com=$1 log=$2
  shift 2
  sh "$TOLVANE_DEVSIM_WRAPPER" "$TOLVANE_DEVSIM" "$scratch/com$com" "$log" "$@" &
  devsims="$devsims $log.pid"
  for _ in $(seq 200); do
    [ -f "$log.linked" ] && return 0
    sleep 0.1
  done
  fail "the simulated device for COM$com did not start"
}
# unplug COM LOG: the device of COM<COM> gone, as when its cable is pulled. Windows lists a USB
# adapter's port under SERIALCOMM only while it is plugged in; Wine lists its ports always, so the
# port's value goes too, and plug COM puts it back.
serialcomm='HKLM\HARDWARE\DEVICEMAP\SERIALCOMM'
unplug() {
  pid=$(cat "$2.pid")
  kill "$pid" 2>/dev/null || true
  wine reg delete "$serialcomm" /v "\\Device\\Serial$(($1 - 1))" /f >/dev/null 2>&1
  for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "the simulated device of COM$1 did not end"
}
plug() { wine reg add "$serialcomm" /v "\\Device\\Serial$(($1 - 1))" /t REG_SZ /d "COM$1" /f >/dev/null 2>&1; }
# heard LOG IMEI: the device was sent that IMEI.
heard() { grep -q "PC says IMEI:$2" "$1"; }

probe() { wine "$probe" "$@" 2>/dev/null | tr -d '\r'; }
# The tile of slot N (from 1): its name and status, a tab between.
tile() { probe tiles | sed -n "$1p"; }
status_of() { tile "$1" | cut -f 2; }
imei_of() { status_of "$1" | grep -o 'IMEI 86[0-9]*' | cut -d ' ' -f 2; }
# wait_until DESCRIPTION COMMAND...: until the command succeeds, within a generous bound.
wait_until() {
  what=$1
  shift
  for _ in $(seq 600); do
    if "$@"; then return 0; fi
    sleep 0.2
  done
  fail "$what: $(probe tiles)"
}
starts() { status_of "$1" | grep -q "^$2"; }

# start_bench ARGS...: TolvaneBench.exe with the ARGS, its window shown.
start_bench() {
  if [ -n "${TOLVANE_DESKTOP:-}" ]; then
    wine explorer /desktop="$TOLVANE_DESKTOP,1280x1000" "$exe" "$@" >"$scratch/out" 2>&1 &
  else
    wine "$exe" "$@" >"$scratch/out" 2>&1 &
  fi
  bench=$!
  wait_until "the bench window did not appear" is_shown
}
is_shown() { wine "$probe" tiles >/dev/null 2>&1; }
is_gone() { ! is_shown; }
# close_bench: WM_CLOSE, as the close box sends it, and the program ended with status 0 (on a
# desktop, the window gone: the status is the desktop's).
close_bench() {
  wine "$probe" close >/dev/null 2>&1 || fail "the window could not be asked to close"
  status=0
  if [ -n "${TOLVANE_DESKTOP:-}" ]; then
    wait_until "the window did not close" is_gone
    wineserver -k 2>/dev/null || true
    wait "$bench" || true
    return 0
  fi
  wait "$bench" || status=$?
  [ "$status" = 0 ] || fail "closing ended with status $status: $(tr -d '\r' <"$scratch/out")"
}
