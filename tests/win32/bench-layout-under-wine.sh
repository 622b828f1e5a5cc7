#!/bin/sh
# TolvaneBench.exe's window under Wine in English and in Chinese, with "MS Shell Dlg" standing for
# Wine's Tahoma, for DejaVu Sans (a wider Latin font) and for WenQuanYi Micro Hei (as on a Chinese
# Windows), with a bench of four at a pass, a refusal, a silence and a slow unit: the probe finds
# no caption cut, no overlap and nothing across a tile's edge.
# With TOLVANE_BENCH_SHOTS=DIR it runs on a Wine desktop and saves DIR/tolvane-bench-windows.bmp
# (Tahoma, English) and DIR/tolvane-bench-windows-zh.bmp (WenQuanYi Micro Hei, Chinese).
# Usage: bench-layout-under-wine.sh BENCH_EXE PROBE_EXE   (environment as the Windows tests get it)
set -eu
exe=$1 probe=$2
scratch=$TOLVANE_WINE_SCRATCH/bench-layout
ports="7 8 9 10"
[ -z "${TOLVANE_BENCH_SHOTS:-}" ] || export TOLVANE_DESKTOP=TolvaneBenchShot
. "$(dirname "$0")/bench-session.sh"

printf 'domain = mirl.example.com\naccount = bench\naccount_password = s3cret\n' >"$scratch/bench.ini"
# A bench of four, fresh for each font and language; each round's devices end with the round, since
# the next round's pid files take the same names.
unplug_four() { for com in 7 8 9 10; do kill "$(cat "$scratch/dev$com.log.pid")" 2>/dev/null || true; done; }
plug_in_four() {
  device 7 "$scratch/dev7.log"
  device 8 "$scratch/dev8.log" --refuse HOST
  device 9 "$scratch/dev9.log" --ignore ACCOUNT
  # Slow enough to be at its steps when the others are done.
  device 10 "$scratch/dev10.log" --delay 4000
}
# Any verdict will do: the layout is what is looked at here, and Wine now and then refuses a port's
# first open, which makes a FAIL of its own.
verdict() { starts "$1" PASS || starts "$1" FAIL || starts "$1" 'NO RESPONSE'; }
under_way() { verdict 1 && verdict 2 && verdict 3 && ! starts 4 PASS; }

for font in Tahoma "DejaVu Sans" "WenQuanYi Micro Hei"; do
  for face in "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" /t REG_SZ \
      /d "$font" /f >/dev/null 2>&1
  done
  for language in en_US zh_CN; do
    printf '860000000000017\n860000000000025\n860000000000033\n860000000000041\n860000000000058\n' \
      >"$scratch/imeis.txt"
    rm -f "$scratch/imeis.txt.done"
    plug_in_four
    start_bench --language $language --port COM7 --port COM8 --port COM9 --port COM10 \
      --profile "Z:$scratch/bench.ini" --imei-list "Z:$scratch/imeis.txt"
    wait_until "in $font, $language, the tiles never came to their verdicts" under_way
    faults=$(probe layout)
    [ "$faults" = ok ] || fail "the window in $font, $language: $faults"
    shot=
    [ "$font/$language" = Tahoma/en_US ] && shot=tolvane-bench-windows.bmp
    [ "$font/$language" = "WenQuanYi Micro Hei/zh_CN" ] && shot=tolvane-bench-windows-zh.bmp
    if [ -n "${TOLVANE_BENCH_SHOTS:-}" ] && [ -n "$shot" ]; then
      sleep 1  # let it paint
      wine "$probe" shot "$(winepath -w "$TOLVANE_BENCH_SHOTS/$shot" 2>/dev/null)" >/dev/null 2>&1 ||
        fail "no picture of the window in $font, $language"
    fi
    close_bench
    unplug_four
    echo "$font, $language: every caption of the bench window shows whole"
  done
done
echo "PASS: TolvaneBench.exe's layout under Wine holds in Tahoma, DejaVu Sans and WenQuanYi Micro Hei"
