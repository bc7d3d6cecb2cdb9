#!/usr/bin/env bash
# The README's commands on a fresh Debian 12 (GARVO_SUITE=trixie: 13) whose mirror serves no armhf
# (its sources limited
# with "Architectures:"), as root: scripts/run.sh leaves its screenshot and installs nothing of
# the tests, the cross builds or the compositors; set-up for the tests names armhf in one line and
# installs the rest; neither removes a package; and a package whose other architecture's copy
# alone is there is not taken for installed. The pristine system is made once in build/chroot.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
suite=${GARVO_SUITE:-bookworm}
base=$GARVO_BUILD/chroot/$suite-base
root=$GARVO_BUILD/chroot/$suite-setup

[ "$(id -u)" = 0 ] || { echo "FAIL: run as root: it makes a Debian system of its own" && exit 1; }
if [ ! -e "$base/.complete" ]; then
  rm -rf "$base" && mkdir -p "$base"
  debootstrap --variant=minbase "$suite" "$base" http://deb.debian.org/debian \
    >"$GARVO_BUILD/chroot/$suite.log" 2>&1 || { tail -5 "$GARVO_BUILD/chroot/$suite.log" && exit 1; }
  touch "$base/.complete"
fi
cleanup() {
  umount -R -l "$root/dev" 2>/dev/null || true
  umount -l "$root/proc" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
cleanup
cp -a "$base" "$root"
mount -t proc proc "$root/proc"
# This machine's devices, and nothing mounted or unmounted in the system goes back to them.
mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev"
rm -f "$root/etc/apt/sources.list"
keyring=$(cd "$root" && ls usr/share/keyrings/debian-archive-keyring.{gpg,pgp} 2>/dev/null | head -1 || true)
for source in "$suite $suite-updates|debian" "$suite-security|debian-security"; do
  printf 'Types: deb\nURIs: http://deb.debian.org/%s\nSuites: %s\nComponents: main\nArchitectures: amd64 arm64 i386\nSigned-By: /%s\n\n' \
    "${source#*|}" "${source%|*}" "$keyring"
done >"$root/etc/apt/sources.list.d/debian.sources"
mkdir "$root/src"
tar -C "$GARVO_ROOT" --exclude=./build --exclude=./.git -cf - . | tar -C "$root/src" -xf -
inside() { chroot "$root" env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/root bash -c "$*"; }
packages() { inside "dpkg-query -W -f='\${binary:Package}\n' | sort" >"$GARVO_BUILD/chroot/$1"; }
passed=0
fail() { echo "FAIL: $*" && echo "$passed passed, 1 failed" && exit 1; }
pass() { echo "ok: $*" && passed=$((passed + 1)); }
# Every package there before is there still.
kept() {
  local gone
  gone=$(comm -23 "$GARVO_BUILD/chroot/$1" "$GARVO_BUILD/chroot/$2")
  [ -z "$gone" ] || fail "removed: $gone"
}

inside "dpkg --add-architecture arm64 && apt-get update -q >/dev/null &&
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends libexpat1-dev:arm64 >/dev/null"
inside "source /src/scripts/lib.sh; ! garvo_installed libexpat1-dev && garvo_installed libexpat1-dev:arm64" ||
  fail "libexpat1-dev:arm64 alone is taken for this machine's libexpat1-dev, or not for itself"
pass "another architecture's copy alone is not this machine's"

packages before
start=$(date +%s)
inside "cd /src && bash scripts/run.sh" >"$GARVO_BUILD/chroot/run.log" 2>&1 ||
  fail "scripts/run.sh: $(tail -5 "$GARVO_BUILD/chroot/run.log")"
packages run
[ -s "$root/src/build/screenshot.png" ] || fail "no screenshot: $(tail -3 "$GARVO_BUILD/chroot/run.log")"
pass "scripts/run.sh on a fresh machine: $(tail -1 "$GARVO_BUILD/chroot/run.log") in $(($(date +%s) - start)) s, $(comm -13 "$GARVO_BUILD/chroot/before" "$GARVO_BUILD/chroot/run" | wc -l) packages"
kept before run
unwanted=$(grep -E "^(crossbuild-essential|gcc-(aarch64|arm)-|sway|kwin|labwc|lintian|qemu-user|clang|libgtest$(garvo_kernel_runs_32bit || echo '|wine32'))" "$GARVO_BUILD/chroot/run" || true)
[ -z "$unwanted" ] || fail "scripts/run.sh installed: $unwanted"
pass "scripts/run.sh installs no package of the tests, the cross builds or the compositors, and removes none"

start=$(date +%s)
inside "cd /src && GARVO_CROSS_ARCHES=armhf bash scripts/setup.sh test" >"$GARVO_BUILD/chroot/setup.log" 2>&1 ||
  fail "set-up for the tests: $(tail -5 "$GARVO_BUILD/chroot/setup.log")"
packages setup
kept run setup
[ "$(grep -c armhf "$GARVO_BUILD/chroot/setup.log")" = 1 ] && grep -q '^garvo: armhf left out: ' "$GARVO_BUILD/chroot/setup.log" ||
  fail "set-up said: $(cat "$GARVO_BUILD/chroot/setup.log")"
grep -qx 'sway' "$GARVO_BUILD/chroot/setup" && ! grep -q ':armhf$' "$GARVO_BUILD/chroot/setup" ||
  fail "set-up for the tests did not install the rest"
pass "set-up for the tests, in $(($(date +%s) - start)) s: $(grep armhf "$GARVO_BUILD/chroot/setup.log"); the rest installed, none removed"
echo "$passed passed, 0 failed"
