#!/bin/sh
# Runs the installed programs of the tolvane package as a user would, on a system without a
# display: test-package.sh runs it in a fresh Debian 12 root once apt has installed the package.
# Usage: check-installed-package.sh VERSION
set -eu
version=$1
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

[ "$(tolvane --version)" = "tolvane $version" ] || fail "tolvane --version says \"$(tolvane --version)\""
tolvane-provision --help | grep -q "^Usage: tolvane-provision" || fail "tolvane-provision --help"
tolvane-bench --help | grep -q "^Usage: tolvane-bench" || fail "tolvane-bench --help"
[ -f /usr/share/applications/tolvane-bench.desktop ] || fail "no desktop entry for tolvane-bench"
for program in tolvane tolvane-provision tolvane-devsim tolvane-bench; do
  [ "$(man -w "$program")" = "/usr/share/man/man1/$program.1.gz" ] || fail "man -w $program"
done

# What the window loads at run time, which the linker does not check: the xcb platform plug-in's
# libraries and the two fonts.
plugin=$(find /usr/lib -path '*/qt6/plugins/platforms/libqxcb.so' | head -n 1)
[ -n "$plugin" ] || fail "Qt's xcb platform plug-in is not installed"
if ldd "$plugin" | grep "not found"; then fail "the xcb platform plug-in lacks libraries"; fi
[ "$(fc-match -f '%{family}' 'Liberation Sans')" = "Liberation Sans" ] || fail "no Liberation Sans"
fc-list :lang=zh-cn family | grep -q "WenQuanYi Micro Hei" || fail "no Chinese font"

# libsqlite3, which the package depends on, serves the IMEI pool.
pool=$(mktemp -d)
tolvane-provision pool init "$pool/pool.db" >/dev/null || fail "tolvane-provision pool init"
rm -rf "$pool"

# The simulated device starts, registers its port, and tolvane-provision lists it.
log=$(mktemp)
tolvane-devsim </dev/null >"$log" 2>&1 &
devsim=$!
trap 'kill $devsim 2>/dev/null || true; rm -f "$log"' EXIT
for _ in $(seq 100); do
  [ -s "$log" ] && break
  sleep 0.1
done
grep -Eq '^tolvane-devsim: COM200 \(ttySIM0\) at /dev/pts/[0-9]+$' "$log" || fail "tolvane-devsim says: $(cat "$log")"
tolvane-provision --list-ports | grep -q "^COM200 (ttySIM0)" || fail "tolvane-provision does not list the simulated device"
echo "PASS: tolvane $version installed: --version, --help, manual pages, plug-in and fonts, pool, simulated device"
