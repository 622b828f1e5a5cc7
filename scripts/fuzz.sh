#!/usr/bin/env bash
# Builds the receive path's fuzz target (preset fuzz: clang, libFuzzer, ASan, UBSan) and runs it.
#   scripts/fuzz.sh             smoke: the corpus, then 100,000 runs or 60 s, whichever ends first
#   scripts/fuzz.sh --hours N   a long run; inputs that reach new code are kept in build/fuzz/found
# A finding is written to build/fuzz/crash-* (or leak-*, timeout-*); replay it with
#   build/fuzz/tests/fuzz/tolvane_receive_fuzzer build/fuzz/crash-...
set -euo pipefail
cd "$(dirname "$0")/.."

hours=0
if [ "${1:-}" = "--hours" ]; then
  hours=${2:?--hours needs a number}
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

fuzzer=build/fuzz/tests/fuzz/tolvane_receive_fuzzer
found=build/fuzz/found
mkdir -p "$found"
options=(-dict=tests/fuzz/protocol.dict -artifact_prefix=build/fuzz/ -print_final_stats=1)
if [ "$hours" = 0 ]; then
  # New inputs go to a scratch folder, so a smoke run leaves the kept corpus as it was.
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  "$fuzzer" "${options[@]}" -runs=100000 -max_total_time=60 "$scratch" tests/fuzz/corpus
else
  # In rounds of at most two million runs: the process's memory creeps up over millions of runs
  # (from 440 MB to 750 MB over three million), and libFuzzer stops at 2 GB.
  deadline=$(($(date +%s) + hours * 3600))
  while [ "$(date +%s)" -lt "$deadline" ]; do
    left=$((deadline - $(date +%s)))
    "$fuzzer" "${options[@]}" -runs=2000000 -max_total_time="$left" "$found" tests/fuzz/corpus
  done
fi
