#!/usr/bin/env bash
# Readies the QEMU guest that usb-serial-under-qemu.sh boots: Debian's own kernel, unpacked from its
# package into CACHE (never installed on this machine), and a small initramfs of busybox, the
# modules that reach the USB serial adapter and the 9p shares, and guest-init.sh as /init.
# The kernel and its modules are kept in CACHE; the initramfs is made again each time (it takes
# a second), so a change to guest-init.sh is never missed.
# Usage: prepare-guest.sh CACHE     (prints nothing on success but where the guest is)
set -euo pipefail
cache=$1
here=$(cd "$(dirname "$0")" && pwd)

# What the guest loads by name; modules.dep brings in what they stand on.
wanted=(virtio_pci 9pnet_virtio 9p xhci_pci ftdi_sio)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# download PACKAGE: the package's .deb into the current folder. apt-get download needs the
# package lists, which a machine whose packages were all there already may never have fetched.
download() {
  apt-get download "$1" >download.log 2>&1 && return 0
  apt-get update -qq >>download.log 2>&1 || true
  apt-get download "$1" >>download.log 2>&1 || { cat download.log >&2; fail "apt-get download $1 failed"; }
}

# The kernel and the closure of the wanted modules, once: the whole module tree is 400 MB.
if [ ! -f "$cache/modules.load" ] || [ "$(cat "$cache/wanted" 2>/dev/null)" != "${wanted[*]}" ]; then
  rm -rf "$cache"
  mkdir -p "$cache/work"
  (
    cd "$cache/work"
    download linux-image-amd64
    # The meta-package names the real one, linux-image-<version>-amd64.
    image=$(dpkg-deb -f linux-image-amd64_*.deb Depends | grep -o 'linux-image-[0-9][^ ,]*-amd64' | head -n 1)
    [ -n "$image" ] || fail "linux-image-amd64 depends on no kernel image"
    download "$image"
    dpkg-deb -x "$image"_*.deb root
  )
  root=$cache/work/root
  version=$(ls "$root/lib/modules")
  # The package leaves modules.dep to depmod at install time; busybox's depmod makes it here.
  busybox depmod -b "$root" "$version"
  declare -A deps=() path=() loaded=()
  while IFS= read -r line; do
    file=${line%%:*}
    name=$(basename "$file" .ko)
    name=${name//-/_}
    path[$name]=$file
    deps[$name]=${line#*:}
  done <"$root/lib/modules/$version/modules.dep"
  order=()
  # load NAME: NAME's dependencies, then NAME, each once.
  load() {
    local name=$1 dep
    [ -n "${loaded[$name]:-}" ] && return 0
    [ -n "${path[$name]:-}" ] || fail "the kernel $version has no module $name (built in?)"
    loaded[$name]=1
    for dep in ${deps[$name]}; do
      dep=$(basename "$dep" .ko)
      load "${dep//-/_}"
    done
    order+=("${path[$name]}")
  }
  for name in "${wanted[@]}"; do load "$name"; done
  mkdir -p "$cache/modules"
  for file in "${order[@]}"; do
    mkdir -p "$cache/modules/$(dirname "$file")"
    cp "$root/lib/modules/$version/$file" "$cache/modules/$file"
  done
  printf '%s\n' "${order[@]}" >"$cache/modules.load"
  cp "$root/boot/vmlinuz-$version" "$cache/vmlinuz"
  echo "$version" >"$cache/version"
  rm -rf "$cache/work"
  echo "${wanted[*]}" >"$cache/wanted"
fi

# The initramfs: busybox (static, so it needs no library), its applets as links, the modules in
# the order they load, and /init.
rm -rf "$cache/initramfs" "$cache/initramfs.gz"
mkdir -p "$cache/initramfs"/{bin,dev,proc,sys,host,out,lib/modules}
cp "$(command -v busybox)" "$cache/initramfs/bin/busybox"
for applet in sh mount umount mkdir insmod sleep cat chroot poweroff seq sync; do
  ln -s busybox "$cache/initramfs/bin/$applet"
done
cp -r "$cache/modules/." "$cache/initramfs/lib/modules/"
cp "$cache/modules.load" "$cache/initramfs/lib/modules/load"
cp "$here/guest-init.sh" "$cache/initramfs/init"
chmod 755 "$cache/initramfs/init"
(cd "$cache/initramfs" && find . | cpio -o -H newc --quiet | gzip -1) >"$cache/initramfs.gz"
echo "Guest ready: kernel $(cat "$cache/version"), $(wc -l <"$cache/modules.load") modules"
