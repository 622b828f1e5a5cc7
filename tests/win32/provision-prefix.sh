# What the scripts that run tolvane-provision.exe share, sourced with scratch set (a folder of the
# script's own under TOLVANE_WINE_SCRATCH) and ports (the COM numbers to map): a Wine prefix
# of its own in scratch, with COM<N> standing for scratch/com<N>; fail; and, on leaving, every
# simulated device the script started (their pid files in devsims) and the Wine server stopped.
rm -rf "$scratch"
mkdir -p "$scratch/home"
export WINEPREFIX=$scratch/prefix HOME=$scratch/home
devsims=""

finish() {
  status=$?
  for pidfile in $devsims; do kill "$(cat "$pidfile")" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  exit $status
}
trap finish EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

wineboot -i >/dev/null 2>&1 || true
for com in $ports; do
  wine reg add 'HKLM\Software\Wine\Ports' /v "COM$com" /t REG_SZ /d "$scratch/com$com" /f >/dev/null 2>&1
done
# Wine reads its Ports key when its server starts.
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p30 </dev/null >/dev/null 2>&1
