# What scripts/package.sh made, checked as a user and Debian would see it: the package's files,
# fields and dependencies (which must bring in no compiler, no Wine and no X server), lintian's
# verdict where lintian is installed, and the Windows download's contents.
#   bash package_test.sh DIRECTORY_WITH_THE_PACKAGES [OTHER_ARCHITECTURE...]
set -uo pipefail
dir=$(cd "$1" && pwd)
failed=0
checking=
fail() {
  echo "FAIL: ${checking:+$checking: }$*"
  failed=1
}

# The other architectures' programs run under user-mode emulation, started explicitly.
source "$(dirname "$0")/../common/architectures.sh"

# One architecture's package.
check_deb() {
  local arch=$1 deb version upstream files want depends packages closure heavy loader needed verdict run
  checking=$arch
  deb=$(ls "$dir"/garvo_*-1_"$arch".deb 2>/dev/null | head -1)
  [ -f "$deb" ] || { fail "no $arch package in $dir"; return; }
  version=$(dpkg-deb -f "$deb" Version)
  upstream=${version%-1}

  files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort)
  want=$(sort <<EOF
/etc/xdg/autostart/garvo.desktop
/usr/bin/garvo
/usr/share/applications/garvo.desktop
/usr/share/doc/garvo/changelog.Debian.gz
/usr/share/doc/garvo/changelog.gz
/usr/share/doc/garvo/copyright
/usr/share/icons/hicolor/16x16/apps/garvo.png
/usr/share/icons/hicolor/32x32/apps/garvo.png
/usr/share/icons/hicolor/48x48/apps/garvo.png
/usr/share/man/man1/garvo.1.gz
EOF
  )
  [ "$files" = "$want" ] || fail "the package holds: $(echo $files)"

  for field in Package=garvo Section=x11 Priority=optional Architecture="$arch"; do
    [ "$(dpkg-deb -f "$deb" "${field%%=*}")" = "${field#*=}" ] || fail "${field%%=*} is '$(dpkg-deb -f "$deb" "${field%%=*}")'"
  done
  [ "$(dpkg-deb -f "$deb" Maintainer)" != "" ] || fail "no Maintainer"
  [ "$(dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./conffiles)" = /etc/xdg/autostart/garvo.desktop ] ||
    fail "the autostart entry is not a configuration file"

  # What installing it pulls in, all the way down.
  depends=$(dpkg-deb -f "$deb" Depends)
  [[ $depends == *libxcb1* && $depends == *libxcb-randr0* && $depends == *libwayland-client0* &&
    $depends == *libc6* && $depends != *libx11-6* ]] || fail "Depends: $depends"
  packages=$(sed 's/([^)]*)//g; s/,/ /g; s/|/ /g' <<<"$depends" | xargs -n1 | sed "s/\$/:$arch/")
  closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances $packages 2>/dev/null | grep -v '^ ' | sed 's/:.*//' | sort -u)
  [ -n "$closure" ] || fail "apt knows none of: $packages"
  heavy=$(grep -E '^(gcc|g\+\+|cpp|clang|binutils)(-[0-9.]+)?$|^(wine|xserver|xvfb$|xwayland$)' <<<"$closure")
  [ -z "$heavy" ] || fail "installing it pulls in: $(echo $heavy)"

  # The program and its manual page tell the version the package has.
  rm -rf "$scratch/root"
  dpkg-deb -x "$deb" "$scratch/root"
  garvo_is_for "$scratch/root/usr/bin/garvo" "$arch" ||
    fail "the program is $(file -b "$scratch/root/usr/bin/garvo")"
  run=
  [ "$arch" = "$(dpkg --print-architecture)" ] || run=$(garvo_qemu "$arch")
  [[ $($run "$scratch/root/usr/bin/garvo" --version) =~ ^garvo\ $upstream\ \(Wayland,\ X11\)\ from\ commit\ [0-9a-f]{12}(\+changes)?$ ]] ||
    fail "garvo --version says $($run "$scratch/root/usr/bin/garvo" --version 2>&1)"
  # It links the C library alone: no Xlib, no maths library; XCB and the Wayland library it opens
  # only when it tries their display. Where the stack protector's guard lives in the dynamic
  # loader (arm64), the loader too, which is the C library's as well.
  loader=$(readelf -l "$scratch/root/usr/bin/garvo" | sed -n 's|.*interpreter: .*/\([^/]*\)]$|\1|p')
  needed=$(readelf -d "$scratch/root/usr/bin/garvo" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p' |
    grep -vx "$loader" | tr '\n' ' ')
  [ "$needed" = "libc.so.6 " ] || fail "the program links: $needed"
  # A C library too old for packed relocations would not start it: the package says so.
  if readelf -V "$scratch/root/usr/bin/garvo" | grep -q GLIBC_ABI_DT_RELR; then
    [[ $depends == *"libc6 (>= 2.36)"* ]] || fail "packed relocations, but Depends: $depends"
  fi
  zcat "$scratch/root/usr/share/man/man1/garvo.1.gz" | grep -q "^.TH GARVO 1 \"\" \"garvo $upstream\"" ||
    fail "the manual page is not for $upstream"
  # Once the program is removed, and the autostart entry (a configuration file) stays, desktops
  # skip both entries rather than start what is gone.
  for entry in usr/share/applications etc/xdg/autostart; do
    grep -qx 'TryExec=garvo' "$scratch/root/$entry/garvo.desktop" || fail "$entry: no TryExec"
  done
  grep -qx 'Categories=System;Monitor;' "$scratch/root/usr/share/applications/garvo.desktop" ||
    fail "the menu entry is not under System/Monitor"
  grep -q 'License: Expat' "$scratch/root/usr/share/doc/garvo/copyright" || fail "no licence named"

  if command -v lintian >/dev/null; then
    verdict=$(lintian "$deb" 2>&1 | grep -v 'running with root privileges')
    echo "lintian, $arch: ${verdict:-nothing to say}"
    ! grep -q '^E:' <<<"$verdict" || fail "lintian reports errors"
  else
    echo "lintian is not installed: not run"
  fi

  echo "checked: $deb"
  checking=
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for arch in $(dpkg --print-architecture) "${@:2}"; do check_deb "$arch"; done
upstream=$(dpkg-deb -f "$dir/garvo_"*"-1_$(dpkg --print-architecture).deb" Version 2>/dev/null)
upstream=${upstream%-1}

zip=$dir/garvo-$upstream-windows.zip
names=$(cmake -E tar tf "$zip" 2>/dev/null | sort | tr '\n' ' ')
[ "$names" = "garvo-$upstream/ garvo-$upstream/LICENSE.txt garvo-$upstream/README.txt garvo-$upstream/garvo.exe garvo-$upstream/garvo64.exe " ] ||
  fail "the Windows download holds: $names"
(cd "$scratch" && cmake -E tar xf "$zip")
[[ $(file -b "$scratch/garvo-$upstream/garvo.exe") == "PE32 executable"*"Intel 80386"* ]] ||
  fail "garvo.exe is not the 32-bit image"
[[ $(file -b "$scratch/garvo-$upstream/garvo64.exe") == "PE32+ executable"*"x86-64"* ]] ||
  fail "garvo64.exe is not the 64-bit image"
[ "$(stat -c %s "$scratch/garvo-$upstream/garvo.exe")" -le 12288 ] || fail "garvo.exe is larger than 12 KiB"
grep -q 'shell:startup' "$scratch/garvo-$upstream/README.txt" || fail "the README does not say how to start it at logon"

[ $failed = 0 ] && echo "ok: the packages and $zip"
exit $failed
