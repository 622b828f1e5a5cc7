#!/bin/sh
# The real Tolvane.exe's command line under Wine: --help and --version say what they say in a box
# (a program started outside a console has nowhere else) and end with status 0; an unknown option,
# an unknown language and a trace file that cannot be written are refused in a box with status 2,
# and no window opens. The box is a window of its own, titled Tolvane, which the probe reads as
# the window; Enter closes it. It comes up on the prefix's own Wine desktop, named Tests in
# prepare-wine.sh.
# Usage: command-line-under-wine.sh TOLVANE_EXE PROBE_EXE   (environment as the Windows tests get it)
set -eu
exe=$1 probe=$2
. "$(dirname "$0")/wine-session.sh"
# says STATUS BEGINNING ARGS...: Tolvane.exe ARGS shows a box whose text begins with BEGINNING and,
# once Enter closes it, ends with STATUS.
says() {
  status=$1 beginning=$2
  shift 2
  wine "$exe" "$@" >/dev/null 2>&1 &
  wine_pid=$!
  wait_for "Tolvane.exe $* showed no box" is_open text 65535
  text=$(probe text 65535)
  case $text in
    "$beginning"*) ;;
    *) fail "Tolvane.exe $* says: $text" ;;
  esac
  # The box of a program started later than the desktop's first is not the active one: a click
  # makes it so.
  desktop=$(xdotool search --name "^Tests - Wine desktop" | head -n 1)
  click_window 1
  xdotool key Return
  wait_for "Enter did not close the box of Tolvane.exe $*" is 0 window
  ended=0
  wait "$wine_pid" || ended=$?
  [ "$ended" = "$status" ] || fail "Tolvane.exe $* ended with $ended, not $status"
  echo "Tolvane.exe $*: \"$(echo "$text" | head -n 1)\", status $status"
}

says 0 "Usage: Tolvane.exe [--language CODE] [--trace FILE]" --help
# The project's version, which the version record, setup.exe and the Debian package also carry.
says 0 "Tolvane $TOLVANE_VERSION" --version
says 2 "unknown option \"--port\"" --port COM5
says 2 "unknown language \"fr_FR\": use en_US or zh_CN" --language fr_FR
says 2 "cannot write the trace to Z:/nonexistent-folder/trace.txt: " --trace Z:/nonexistent-folder/trace.txt
echo "PASS: Tolvane.exe's command line under Wine: help, version and three refusals"
