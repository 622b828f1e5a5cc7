#!/usr/bin/env bash
# Installs the Debian packages that cross-building Tolvane.exe and testing it under Wine need: the
# mingw-w64 compiler (POSIX threads), Wine with its own fonts, xdotool to drive the window, NSIS
# for the installer, and what scripts/build-windows-libs.sh needs to build SQLite and libpq from
# Debian's sources (dpkg-source, a native compiler and tclsh for SQLite's amalgamation) and its
# check needs (pg_virtualenv and a PostgreSQL server).
# Safe to re-run.
set -euo pipefail

packages=(
  cmake ninja-build g++-mingw-w64-x86-64-posix googletest
  wine wine64 fonts-wine nsis
  xvfb xauth xdotool
  dpkg-dev bzip2 xz-utils gcc make tcl postgresql postgresql-common
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
# Wine's recommendations would bring a desktop's worth of libraries that the tests do not use.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
