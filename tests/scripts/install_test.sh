# A package installed as a user of that machine installs it: apt-get install ./garvo_….deb in a
# pristine Debian of that release (bookworm or trixie) and of the package's architecture, whose
# programs run under user-mode emulation where it is not this machine's. Its autostart entry's
# command, run as an ordinary user on this display, shows the bar, and a right-click saves to
# ~/.config/garvo; a purge leaves none of the package's files. The system is made once in the
# folder given and copied for each run, so that each starts pristine.
#   bash install_test.sh PACKAGE FOLDER [RELEASE]
set -uo pipefail
deb=$(realpath "$1")
arch=$(dpkg-deb -f "$deb" Architecture)
suite=${3:-bookworm}
release=$([ "$suite" = bookworm ] && echo 12 || echo 13)
base=$2/debian$release-$arch
root=$2/install-$release-$arch
user=garvo-user
fail() {
  echo "FAIL: $*"
  exit 1
}

mounts=()
binfmt=/proc/sys/fs/binfmt_misc
entry=garvo-test-$arch
cleanup() {
  local m
  for m in "${mounts[@]}"; do umount -l "$m" 2>/dev/null; done
  [ -e "$binfmt/$entry" ] && echo -1 >"$binfmt/$entry"
  rm -rf "$root"
}
trap cleanup EXIT
foreign=
if [ "$arch" != "$(dpkg --print-architecture)" ]; then
  foreign=--foreign
  # The kernel runs the system's programs through the emulator: an entry of this test's own,
  # unless one for that machine is there already. Opened at once (F), so that it works inside
  # the chroot.
  source "$(dirname "$0")/../common/architectures.sh"
  qemu=$(garvo_qemu "$arch")
  # An ELF executable's header for the machine, up to its e_machine field.
  case $arch in
    arm64) magic='\x7fELF\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\xb7\x00' ;;
    armhf) magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x28\x00' ;;
    *) fail "no emulator for $arch" ;;
  esac
  mask='\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" ||
    fail "binfmt_misc cannot be mounted, and the system's programs could not run"
  hex=$(sed 's/\\x//g' <<<"$magic")
  grep -qsx "magic $hex" "$binfmt"/* ||
    echo ":$entry:M::$magic:$mask:$(command -v "$qemu"):F" >"$binfmt/register" ||
    fail "the emulator could not be registered"
fi

if [ ! -e "$base.made" ]; then
  rm -rf "$base" && mkdir -p "$2"
  { debootstrap --arch="$arch" --variant=minbase $foreign "$suite" "$base" \
    http://deb.debian.org/debian &&
    { [ -z "$foreign" ] || chroot "$base" /debootstrap/debootstrap --second-stage; }; } \
    >"$base.log" 2>&1 || fail "the $arch system was not made: $(tail -3 "$base.log")"
  touch "$base.made"
fi
rm -rf "$root"
cp -a "$base" "$root"
for m in proc dev tmp/.X11-unix; do
  mkdir -p "$root/$m" && mount --bind "/$m" "$root/$m" && mounts=("$root/$m" "${mounts[@]}") ||
    fail "could not mount /$m in the system"
done
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }

cp "$deb" "$root/root/"
in_root sh -c "cd /root && apt-get update -q && apt-get install -y -q ./$(basename "$deb")" \
  >"$root.log" 2>&1 || fail "apt-get install: $(tail -3 "$root.log")"
in_root dpkg-query -W -f='${Status} ${Architecture}\n' garvo | grep -qx "install ok installed $arch" ||
  fail "garvo is not installed: $(in_root dpkg-query -W garvo)"
echo "ok: apt-get install ./$(basename "$deb") in a pristine Debian $release for $arch"

# As the desktop starts it at login: the entry's command, in the user's home, on this display.
command=$(sed -n 's/^Exec=//p' "$root/etc/xdg/autostart/garvo.desktop")
in_root useradd --create-home "$user" || fail "no user"
chroot --userspec="$user:$user" "$root" env -i HOME="/home/$user" PATH=/usr/bin:/bin \
  DISPLAY="$DISPLAY" sh -c "cd && exec $command" 2>"$root.stderr" &
pid=$!
bar=
for _ in $(seq 300); do
  bar=$(xwininfo -root -tree | sed -n 's/.*("garvo[^"]*" "garvo[^"]*")  126x6+[-0-9]*+[-0-9]*  +\([-0-9]*\)+\([-0-9]*\)$/\1 \2/p')
  [ -n "$bar" ] && break
  kill -0 $pid 2>/dev/null || fail "'$command' ended: $(cat "$root.stderr")"
  sleep 0.1
done
[ -n "$bar" ] || fail "'$command' shows no bar"
echo "ok: '$command' from the autostart entry shows the bar at $bar"
xdotool mousemove $((${bar% *} + 60)) $((${bar#* } + 3)) && sleep 0.5 && xdotool click 3
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
wait $pid || fail "the gauge ended with status $? after a right-click"
saved=$(tr -d '\r' <"$root/home/$user/.config/garvo/garvo.ini" 2>/dev/null | tr '\n' ' ')
[ "$saved" = "[SETTING] x=${bar% *} y=${bar#* } s=75 " ] ||
  fail "~/.config/garvo/garvo.ini holds: ${saved:-nothing}"
echo "ok: a right-click ends it, saved in ~/.config/garvo: $saved"

in_root apt-get purge -y -q garvo >>"$root.log" 2>&1 || fail "apt-get purge: $(tail -3 "$root.log")"
left=$(cd "$root" && ls -d usr/bin/garvo etc/xdg/autostart/garvo.desktop usr/share/applications/garvo.desktop \
  usr/share/doc/garvo usr/share/man/man1/garvo.1.gz usr/share/icons/hicolor/*/apps/garvo.png 2>/dev/null)
[ -z "$left" ] || fail "after the purge: $left"
! in_root dpkg-query -W -f='${Status}\n' garvo 2>/dev/null | grep -q installed ||
  fail "garvo is still installed"
echo "ok: apt-get purge garvo leaves none of its files"
