#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tolvane need, and any more named
# as arguments. Safe to re-run.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev libgl-dev libsqlite3-dev libpq-dev nlohmann-json3-dev
  libgtest-dev postgresql postgresql-common
  clang-14 libclang-rt-14-dev
  # The window's fonts, and DejaVu, which the layout tests take for a PC with only Debian's default
  # fonts: a minimal Debian does not always bring it.
  xvfb xauth xdotool fonts-liberation2 fonts-wqy-microhei fonts-dejavu-core
  help2man librsvg2-bin man-db desktop-file-utils dpkg-dev
  # tests/usb: a QEMU guest on Debian's kernel (fetched by the test itself) with a busybox initramfs.
  qemu-system-x86 busybox-static cpio socat
  # The bench window read from outside, over the accessibility bus, as a screen reader reads it.
  at-spi2-core dbus-daemon python3-pyatspi
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
