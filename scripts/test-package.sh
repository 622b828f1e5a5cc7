#!/usr/bin/env bash
# Makes the Debian package from the release build, checks it with lintian, and installs it with
# `apt-get install ./tolvane_*.deb` into a freshly made minimal Debian 12 root (debootstrap
# --variant=minbase from the mirror apt already uses), where check-installed-package.sh runs the
# programs. Needs root; takes about 6 minutes.
#   scripts/test-package.sh             builds and packages first (run it under the build lock)
#   scripts/test-package.sh FILE.deb    tests that package
# The root is made in build/fresh-root (TOLVANE_FRESH_ROOT overrides it) and kept for a look after.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" = 0 ] || { echo "test-package.sh needs root: debootstrap, mount and chroot" >&2; exit 2; }
scripts/install-deps.sh lintian debootstrap

if [ $# -ge 1 ]; then
  deb=$(realpath "$1")
else
  cmake --preset release >/dev/null
  cmake --build --preset release -j "$(nproc)"
  deb=$(cd build/release && cpack | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
fi
[ -f "$deb" ] || { echo "no package: $deb" >&2; exit 2; }
echo "== lintian $(basename "$deb") =="
lintian --fail-on error,warning "$deb"

work=${TOLVANE_FRESH_ROOT:-$PWD/build/fresh-root}
root=$work/root
mirror=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
[ -n "$mirror" ] || mirror=$(awk '/^deb / {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
[ -n "$mirror" ] || { echo "no Debian mirror in apt's sources" >&2; exit 2; }

unmount() {
  for d in dev/pts dev sys proc; do
    if mountpoint -q "$root/$d"; then umount "$root/$d"; fi
  done
}
trap unmount EXIT
unmount
# Never delete through a mount that is still bound to the host's /dev, /sys or /proc.
if grep -q " $root/" /proc/mounts; then
  echo "mounts under $root are still in use" >&2
  exit 2
fi
rm -rf --one-file-system "$root"
mkdir -p "$root"
echo "== a minimal Debian 12 root from $mirror (log: $work/debootstrap.log) =="
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 \
  || { tail -n 20 "$work/debootstrap.log" >&2; exit 1; }
cp "$deb" scripts/check-installed-package.sh "$root/tmp/"
cp /etc/resolv.conf "$root/etc/resolv.conf"
for d in proc sys dev dev/pts; do mount --bind "/$d" "$root/$d"; done

echo "== apt-get install ./$(basename "$deb") =="
version=$(dpkg-deb -f "$deb" Version)
# man-db for `man -w`, as a desktop system has it.
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root DEBIAN_FRONTEND=noninteractive \
  sh -c "cd /tmp && apt-get update -qq && apt-get install -y -qq man-db >/dev/null &&
         apt-get install -y -qq ./$(basename "$deb") >/dev/null && sh check-installed-package.sh ${version%-*}"
