#!/usr/bin/env bash
# Installs on Debian what one of the scripts needs, and nothing that is already there:
#   setup.sh run [i686|x86_64] [display]   garvo.exe under Wine: that image's compiler and Wine
#   setup.sh native [display]              the native gauge: its compiler and libraries
#   setup.sh package                       the packages: the native build, for this machine and
#                                          each of GARVO_CROSS_ARCHES, and both Windows images
#   setup.sh test                          all of that, and what the tests run
# "display" adds a virtual X display and the screenshot tools. No install removes a package: this
# machine's packages go first, in one transaction, then each other architecture's in one of its
# own. 32-bit Wine is asked for only where the kernel runs 32-bit programs. What cannot be
# installed is said in one line, which architecture or package and apt's reason, and kept in
# build/left-out for the scripts; the rest goes on.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
garvo_check_arch

role=${1:-test}
host=() arches=()
native() {
  # The wlr protocols' descriptions come with a Rust crate's sources, whose package Debian 13
  # renamed.
  local wlr=librust-wayland-protocols-dev
  grep -qx 'VERSION_ID="12"' /etc/os-release 2>/dev/null || wlr=librust-wayland-protocols-wlr-dev
  host+=(cmake make g++ pkgconf libxcb1-dev libxcb-randr0-dev libfreetype-dev libfontconfig-dev
    fonts-dejavu-core libwayland-dev libwayland-bin wayland-protocols "$wlr")
}
windows() { # the image, i686 or x86_64
  host+=(cmake make g++ wine fonts-wine)
  if [ "$1" = i686 ]; then
    host+=(g++-mingw-w64-i686-posix)
    # The kernel is asked before 32-bit Wine is: a machine that cannot run it never installs it.
    if garvo_kernel_runs_32bit; then arches+=(i386); else GARVO_32BIT_REFUSED=yes; fi
  else
    host+=(g++-mingw-w64-x86-64-posix wine64)
  fi
}
display() { host+=(xvfb x11-utils xdotool imagemagick); }
# Debian's cross compilers, and the libraries the native build needs, for the other architectures.
cross() {
  host+=(dpkg-dev file)
  arches+=($GARVO_CROSS_ARCHES)
}

case $role in
  run)
    windows "${2:-i686}"
    [ "${3:-}" != display ] || display
    ;;
  native)
    native
    [ "${2:-}" != display ] || display
    ;;
  package)
    native
    host+=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix git zip)
    cross
    ;;
  test)
    native
    windows x86_64
    [ "${GARVO_ARCH:-}" = x86_64 ] || windows i686
    display
    cross
    # Other programs' windows (on Xlib, as most are), window managers and compositors, Wayland's
    # background and screenshots (KWin's through D-Bus), Debian systems of their own, the
    # fuzzer, a package checker, and the emulator that runs the other architectures' builds;
    # and a clock of its own and a comparer for the second build of the downloads.
    host+=(g++-mingw-w64-i686-posix git zip faketime diffoscope-minimal)
    host+=(libgtest-dev libx11-dev openbox procps picom sway swaybg grim xwayland
      x11-xserver-utils kwin-wayland plasma-wayland-protocols dbus-daemon python3-dbus
      debootstrap e2fsprogs clang libclang-rt-dev lintian qemu-user-static)
    ;;
  *)
    echo "usage: bash scripts/setup.sh run [i686|x86_64] [display] | native [display] | package | test" >&2
    exit 2
    ;;
esac

# What each other architecture needs.
foreign_set() {
  case $1 in
    i386) echo wine32:i386 ;;
    *)
      echo "crossbuild-essential-$1"
      local p
      for p in libxcb1-dev libxcb-randr0-dev libwayland-dev libfreetype-dev libfontconfig-dev; do
        echo "$p:$1"
      done
      ;;
  esac
}

missing=()
for p in "${host[@]}"; do garvo_installed "$p" || missing+=("$p"); done
missing_arches=()
for arch in "${arches[@]}"; do
  for p in $(foreign_set "$arch"); do
    garvo_installed "$p" || { missing_arches+=("$arch") && break; }
  done
done
mkdir -p "$GARVO_BUILD"
: >"$GARVO_BUILD/left-out"
[ -z "${GARVO_32BIT_REFUSED:-}" ] || echo "i386 the kernel runs no 32-bit programs" >>"$GARVO_BUILD/left-out"
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | awk 'NF && !seen[$0]++')
[ ${#missing[@]} -eq 0 ] && [ ${#missing_arches[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "garvo: missing packages: ${missing[*]} ${missing_arches[*]/%/ packages} (run as root to install them)" >&2
  exit 1
fi
for arch in "${missing_arches[@]}"; do
  dpkg --print-foreign-architectures | grep -qx "$arch" || dpkg --add-architecture "$arch"
done
export DEBIAN_FRONTEND=noninteractive
# A mirror in the middle of a sync serves an index that does not match its release file for a
# while: another try, a little later, usually finds them agreeing; else what it could read serves.
for try in 1 2 3; do
  apt-get update -q >"$GARVO_BUILD/apt-update.log" 2>&1 && break
  [ $try = 3 ] && { grep -m1 '^[EW]:' "$GARVO_BUILD/apt-update.log" >&2 || true; } || sleep 30
done

# Installs the packages in one transaction that may remove nothing; else says in one line what
# is left out, the first package apt names and its reason, and keeps that in build/left-out.
install() {
  local what=$1 out reason
  shift
  out=$(apt-get install -y -q --no-install-recommends --no-remove "$@" 2>&1) && return 0
  reason=$(grep -m1 -E '^ [^ ].* : |^E: ' <<<"$out" | sed 's/^ *//; s/^E: //; s/  */ /g')
  echo "garvo: $what left out: ${reason:-apt-get failed}" >&2
  echo "$what ${reason:-apt-get failed}" >>"$GARVO_BUILD/left-out"
  return 1
}

if [ ${#missing[@]} -gt 0 ] && ! apt-get install -y -q --no-install-recommends --no-remove \
  "${missing[@]}" >"$GARVO_BUILD/apt-install.log" 2>&1; then
  # Each on its own, to name what cannot be had and install the rest.
  for p in "${missing[@]}"; do install "$p" "$p" || true; done
fi
for arch in "${missing_arches[@]}"; do
  # A library at this machine's own version where the mirror has that: a newest foreign copy
  # that lags behind (a mirror in the middle of a sync) is no reason to fail.
  set=()
  for p in $(foreign_set "$arch"); do
    version=$(dpkg-query -W -f='${Version}' "${p%:*}:$GARVO_HOST_ARCH" 2>/dev/null || true)
    if [[ $p == *:* ]] && [ -n "$version" ] &&
      apt-cache madison "$p" 2>/dev/null | awk -F' [|] ' '{ print $2 }' | grep -qxF "$version"; then
      p=$p=$version
    fi
    set+=("$p")
  done
  install "$arch" "${set[@]}" || true
done
