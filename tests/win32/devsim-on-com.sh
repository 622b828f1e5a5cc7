#!/bin/sh
# Starts tolvane-devsim for a test that runs under Wine. Wine starts Linux programs detached, with
# no way to read their output, so: the output goes to LOG, the process id to LOG.pid, and LINK
# (the path Wine's COM port stands for) is pointed at the device's pseudo-terminal once it has
# said where that is; LOG.linked then appears.
# Usage: devsim-on-com.sh DEVSIM LINK LOG [devsim options...]
set -eu
devsim=$1 link=$2 log=$3
shift 3
: >"$log"
rm -f "$log.linked"
(
  for _ in $(seq 600); do
    terminal=$(sed -n 's/^tolvane-devsim: .* at \(\/dev\/[^ ]*\)$/\1/p' "$log" | head -n 1)
    if [ -n "$terminal" ]; then
      ln -sfn "$terminal" "$link"
      echo "$terminal" >"$log.linked"
      exit 0
    fi
    sleep 0.05
  done
) &
echo $$ >"$log.pid"
exec "$devsim" --registry "$log.registry" "$@" >"$log" 2>&1
