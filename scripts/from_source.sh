#!/usr/bin/env bash
# Builds garvo from source as a user or a packager of another distribution would, in a pristine
# Debian 13 (debootstrap minbase) with only the packages the README's "Build from source" names:
# the plain configure, build and install give a release garvo with both front ends and no
# sanitizer; without the X11 headers it builds for Wayland alone, with GARVO_WAYLAND=OFF for X11
# alone; asked for a front end it cannot build, or pointed at the wrong protocol folder, configure
# fails and says why. As root; the first run makes the pristine system in build/chroot.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
suite=${GARVO_SUITE:-trixie}
base=$GARVO_BUILD/chroot/$suite-base
root=$GARVO_BUILD/chroot/$suite-work

[ "$(id -u)" = 0 ] || { echo "garvo: run as root: it makes a Debian system of its own" >&2; exit 1; }
command -v debootstrap >/dev/null || {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap >/dev/null
}
if [ ! -e "$base/.complete" ]; then
  rm -rf "$base"
  mkdir -p "$base"
  debootstrap --variant=minbase "$suite" "$base" http://deb.debian.org/debian >"$GARVO_BUILD/chroot/debootstrap.log" 2>&1 ||
    { tail -5 "$GARVO_BUILD/chroot/debootstrap.log" >&2; exit 1; }
  touch "$base/.complete"
fi

cleanup() {
  umount "$root/proc" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
cleanup
cp -a "$base" "$root"
mount -t proc proc "$root/proc"
mkdir "$root/src"
tar -C "$GARVO_ROOT" --exclude=./build --exclude=./.git -cf - . | tar -C "$root/src" -xf -
inside() { chroot "$root" env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/root bash -c "$*"; }
apt_install() { inside "DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $* >/dev/null"; }
fail() {
  echo "FAIL: $*"
  exit 1
}
pass() { echo "ok: $*"; }

# The README's packages for Debian: the line after its "Debian and Ubuntu" note.
packages=$(awk '/^Debian and Ubuntu/ { found = 1 } found && /^sudo apt-get install/ { sub(/^sudo apt-get install /, ""); print; exit }' "$GARVO_ROOT/README.md")
[ -n "$packages" ] || fail "no Debian packages in the README's Build from source"
x11_packages="libxcb1-dev libxcb-randr0-dev"
wayland_packages=$(tr ' ' '\n' <<<"$packages" | grep -E 'wayland' | tr '\n' ' ')
other_packages=$(tr ' ' '\n' <<<"$packages" | grep -vE 'wayland|libxcb1-dev|libxcb-randr0-dev' | tr '\n' ' ')
inside "apt-get update -q >/dev/null"

# No Wayland development files: asked for, configure fails naming the package; else X11 alone.
apt_install "$other_packages $x11_packages"
out=$(inside "cmake -S /src -B /b/on -DGARVO_WAYLAND=ON 2>&1") && fail "GARVO_WAYLAND=ON without Wayland's files configured"
grep -q 'libwayland-dev' <<<"$out" || fail "GARVO_WAYLAND=ON without Wayland's files said: $(tail -5 <<<"$out")"
pass "GARVO_WAYLAND=ON without Wayland's files fails, naming libwayland-dev"
inside "cmake -S /src -B /b/x11 >/dev/null && cmake --build /b/x11 -j $GARVO_JOBS >/dev/null" || fail "the X11-only build"
[ "$(inside /b/x11/program/garvo --version)" = "garvo 1.0.0 (X11)" ] || fail "X11 alone: $(inside /b/x11/program/garvo --version)"
pass "without Wayland's files: $(inside /b/x11/program/garvo --version)"

# Wayland's files and no X11 headers: Wayland alone; a protocol folder without the layer shell
# is refused, naming the file looked for.
apt_install "$wayland_packages"
inside "apt-get remove -y -q $x11_packages >/dev/null"
inside "cmake -S /src -B /b/wl >/dev/null && cmake --build /b/wl -j $GARVO_JOBS >/dev/null" || fail "the Wayland-only build"
[ "$(inside /b/wl/program/garvo --version)" = "garvo 1.0.0 (Wayland)" ] || fail "Wayland alone: $(inside /b/wl/program/garvo --version)"
pass "without X11's headers: $(inside /b/wl/program/garvo --version)"
out=$(inside "cmake -S /src -B /b/bad -DGARVO_WLR_PROTOCOLS=/usr/share 2>&1") && fail "a folder without the layer shell configured"
grep -q 'wlr-layer-shell-unstable-v1.xml' <<<"$out" || fail "a folder without the layer shell: $(tail -5 <<<"$out")"
pass "a GARVO_WLR_PROTOCOLS without the layer shell fails, naming wlr-layer-shell-unstable-v1.xml"

# Everything the README names: the three plain commands.
apt_install "$packages"
inside "cd /src && cmake -B build >/b/configure.log && cmake --build build -j $GARVO_JOBS >/dev/null && cmake --install build >/dev/null" ||
  fail "the three plain commands"
grep -q 'garvo front ends: X11 yes, Wayland yes' "$root/b/configure.log" || fail "configure said: $(grep front "$root/b/configure.log")"
[ "$(inside garvo --version)" = "garvo 1.0.0 (Wayland, X11)" ] || fail "installed: $(inside garvo --version)"
inside "ldd /usr/local/bin/garvo" | grep -q 'libasan\|libubsan' && fail "the program links a sanitizer"
grep -q __asan "$root/usr/local/bin/garvo" && fail "the program holds sanitizer code"
for file in share/man/man1/garvo.1 share/applications/garvo.desktop share/icons/hicolor/48x48/apps/garvo.png; do
  [ -f "$root/usr/local/$file" ] || fail "not installed: /usr/local/$file"
done
[ -f "$root/etc/xdg/autostart/garvo.desktop" ] || fail "no autostart entry"
pass "the plain commands: $(inside garvo --version) in /usr/local, no sanitizer, its manual, entries and icons"
inside "cmake -S /src -B /b/quiet -DGARVO_AUTOSTART=OFF >/dev/null && cmake --build /b/quiet -j $GARVO_JOBS >/dev/null && DESTDIR=/b/staged cmake --install /b/quiet >/dev/null"
[ ! -e "$root/b/staged/etc/xdg/autostart/garvo.desktop" ] || fail "GARVO_AUTOSTART=OFF installed the autostart entry"
pass "GARVO_AUTOSTART=OFF leaves the autostart entry out"
echo "6 passed, 0 failed"
