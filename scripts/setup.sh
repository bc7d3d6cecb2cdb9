#!/usr/bin/env bash
# Installs what building and testing garvo needs on Debian, and nothing that is already there;
# with "package", only what building the packages needs. Both Windows images are built everywhere;
# 32-bit Wine is installed unless GARVO_ARCH=x86_64, and where the kernel refuses to run it the
# scripts use 64-bit Wine alone.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
garvo_check_arch

# The wlr protocols' descriptions come with a Rust crate's sources, whose package Debian 13 renamed.
wlr=librust-wayland-protocols-dev
grep -qx 'VERSION_ID="12"' /etc/os-release 2>/dev/null || wlr=librust-wayland-protocols-wlr-dev
need=(cmake make g++ g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libxcb1-dev
      libxcb-randr0-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core libwayland-dev
      libwayland-bin wayland-protocols "$wlr" pkgconf dpkg-dev file)
# The packages for the other architectures: Debian's cross compilers, and the libraries the
# native build needs, for each of them, beside this machine's own.
for arch in $GARVO_CROSS_ARCHES; do
  need+=(crossbuild-essential-$arch)
  for p in libxcb1-dev libxcb-randr0-dev libwayland-dev libfreetype-dev libfontconfig-dev; do
    need+=("$p:$arch")
  done
done
if [ "${1:-}" != package ]; then
  # The tests: Wine and a virtual display, other programs' windows (on Xlib, as most are), a
  # window manager, a compositor, Wayland ones with a background and screenshots (KWin's through
  # D-Bus), a Debian 13 system for labwc, a package checker, and the emulator that runs the other
  # architectures' builds.
  need+=(libgtest-dev libx11-dev wine wine64 xvfb xdotool x11-utils fonts-wine imagemagick openbox procps
         picom sway swaybg grim xwayland x11-xserver-utils kwin-wayland plasma-wayland-protocols
         dbus-daemon python3-dbus debootstrap e2fsprogs lintian qemu-user-static)
  [ "${GARVO_ARCH:-}" = x86_64 ] || need+=(wine32:i386)
fi

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "garvo: missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
for p in "${missing[@]}"; do
  [[ $p == *:* ]] || continue
  dpkg --print-foreign-architectures | grep -qx "${p#*:}" || dpkg --add-architecture "${p#*:}"
done
export DEBIAN_FRONTEND=noninteractive
# A mirror in the middle of a sync serves an index that does not match its release file for a
# while: another try, a little later, usually finds them agreeing.
for try in 1 2 3; do
  apt-get update -q && break
  [ $try = 3 ] || sleep 30
done
apt-get install -y -q --no-install-recommends "${missing[@]}"
