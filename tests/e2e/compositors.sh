# Drags on the layer-shell compositors users run, each run as its users run it: sway 1.7, KWin 5.27
# (kwin_wayland --virtual, as an ordinary user, driven through its fake input and read through its
# ScreenShot2 interface) and Debian 13's labwc (in the chroot GARVO_LABWC_ROOT names). Each orders
# a frame's events its own way and measures a held pointer against another place. At each scale,
# two slow steps and 20 quick drags end at the pointer's travel, and a right-click where the bar
# must be then closes it and saves that place.
GARVO_FRONT=compositors # each is started here
source "$(dirname "$0")/lib.sh"
GARVO_FRONT=wayland
user=garvo-e2e compositor= scale=1
make_user "$user"
: "${GARVO_LABWC_ROOT:?names the Debian 13 chroot that holds labwc}"
[ -x "$GARVO_LABWC_ROOT/usr/bin/labwc" ] || fail "no labwc in $GARVO_LABWC_ROOT"
command -v kwin_wayland >/dev/null || fail "no kwin_wayland"
# What runs as the compositor's user, where that user may run it whatever folder the build is in.
mkdir -p "$WORK/bin"
cp "$GARVO_TOOLS/wl_pointer" "$(dirname "$0")/kwin_screenshot.py" "$WORK/bin/"

# The screen in device pixels, as a PPM.
screen() {
  if [ "$compositor" = kwin ]; then
    as_user "$user" env DBUS_SESSION_BUS_ADDRESS="$bus" "$WORK/bin/kwin_screenshot.py"
  else
    grim -t ppm -
  fi
}
# "x y" of the bar in logical pixels, found by its light interior at its size in device pixels:
# the compositor's background may be black, and a compositor may have scaled the picture (sway 1.7
# has no fractional scale, labwc's pixman renderer filters).
bar_place() {
  local w h line
  read -r w h line < <(awk -v s="$scale" 'BEGIN { print int(126 * s + 0.5), int(6 * s + 0.5), int(s + 0.5) }')
  screen | "$GARVO_TOOLS/screen_reader" bar "$w" "$h" "$line" |
    awk -v s="$scale" '{ printf "%d %d\n", $1 / s + 0.5, $2 / s + 0.5 }'
}
bar_is() { [ "$(bar_place)" = "$1" ]; }

# KWin offers its fake input only to a client of its own user; labwc's virtual pointer serves
# anyone who reaches its socket.
start_pointer() {
  local -a as=()
  [ "$compositor" = kwin ] && as=(setpriv --reuid="$user" --regid="$user" --init-groups)
  coproc POINTER { exec "${as[@]}" env XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
    WAYLAND_DISPLAY="$WAYLAND_DISPLAY" "$WORK/bin/wl_pointer" "$1" "$2"; }
  OTHER_PIDS+=("$POINTER_PID")
}

# Each compositor with one 1024 x 768 output at that scale, the pointer started on it.
start_sway() {
  GARVO_OUTPUTS="HEADLESS-1 mode 1024x768 position 0 0 scale $1" start_compositor
}
start_kwin() {
  local runtime
  runtime=$(mktemp -d "$WORK/runtime.XXXXXX")
  mkdir -p "$WORK/kwin/home"
  # A copy loses the binary's file capability, which a container cannot grant; KWin's platform
  # plugin asks that it keep its name.
  cp /usr/bin/kwin_wayland "$WORK/kwin/kwin_wayland"
  chown "$user" "$runtime" "$WORK/kwin/home"
  as_user "$user" env -i PATH=/usr/bin:/bin HOME="$WORK/kwin/home" XDG_RUNTIME_DIR="$runtime" \
    KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 \
    dbus-run-session -- "$WORK/kwin/kwin_wayland" --virtual --width 1024 --height 768 \
    --scale "$1" --socket garvo-kwin >"$WORK/kwin.log" 2>&1 &
  OTHER_PIDS+=($!)
  wait_until 20000 [ -S "$runtime/garvo-kwin" ] || fail "KWin did not start: $(tail -3 "$WORK/kwin.log")"
  export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=garvo-kwin
  local pid
  pid=$(pgrep -u "$user" -f "^$WORK/kwin/kwin_wayland")
  bus=$(tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^DBUS_SESSION_BUS_ADDRESS=//p')
  wait_until 10000 eval 'screen >/dev/null 2>&1' || fail "KWin takes no screenshot"
  start_pointer $(awk -v s="$1" 'BEGIN { print int(1024 / s), int(768 / s) }')
}
start_labwc() {
  local root=$GARVO_LABWC_ROOT
  mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
  mkdir -p "$root/dev/shm"
  mountpoint -q "$root/dev/shm" || mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
  rm -rf "$root/run/garvo" && mkdir -m 700 "$root/run/garvo"
  blank_cursors "$root/run/garvo/icons"
  chown -R "$user" "$root/run/garvo"
  inside() {
    chroot "$root" setpriv --reuid="$(id -u "$user")" --regid="$(id -g "$user")" --clear-groups \
      env -i PATH=/usr/bin:/bin HOME=/run/garvo XDG_RUNTIME_DIR=/run/garvo WAYLAND_DISPLAY=wayland-0 \
      XCURSOR_PATH=/run/garvo/icons XCURSOR_THEME=blank "$@"
  }
  inside WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=1 WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman labwc >"$WORK/labwc.log" 2>&1 &
  OTHER_PIDS+=($!)
  wait_until 10000 [ -S "$root/run/garvo/wayland-0" ] ||
    fail "labwc did not start: $(tail -3 "$WORK/labwc.log")"
  inside wlr-randr --output HEADLESS-1 --custom-mode 1024x768 --scale "$1" ||
    fail "labwc took no output mode"
  export XDG_RUNTIME_DIR=$root/run/garvo WAYLAND_DISPLAY=wayland-0
  start_pointer $(awk -v s="$1" 'BEGIN { print int(1024 / s), int(768 / s) }')
}
# Everything of the compositor's user, then what it had mounted.
stop_compositor() {
  kill "${POINTER_PID:-}" 2>/dev/null || true
  pkill -u "$user" || true
  wait_until 5000 eval '! pgrep -u "$user" >/dev/null' || pkill -KILL -u "$user" || true
  if [ "$compositor" = labwc ]; then
    umount "$GARVO_LABWC_ROOT/dev/shm" "$GARVO_LABWC_ROOT/proc" || true
  fi
}
trap 'stop_compositor >/dev/null 2>&1 || true; cleanup' EXIT

for run in ${GARVO_RUNS:-sway:1 sway:1.5 kwin:1 kwin:1.25 kwin:1.5 labwc:1 labwc:1.5}; do
  compositor=${run%:*} scale=${run#*:}
  "start_$compositor" "$scale"
  printf '[SETTING]\r\nx=100\r\ny=100\r\ns=60\r\n' >"$WORK/garvo.ini"
  (cd "$WORK" && exec env GARVO_BACKEND=wayland "$GARVO_EXE") 2>"$WORK/stderr" &
  GARVO_PID=$!
  wait_until 10000 bar_is "100 100" || fail "$run: no bar at 100 100: $(bar_place)"
  # Grip 60,3.
  pointer move 160 103
  sleep 0.3
  pointer down 1 && sleep 0.2 && pointer rel 10 0 && sleep 0.2 && pointer rel 10 0 && sleep 0.2
  pointer up 1
  wait_until 3000 bar_is "120 100" || fail "$run: two slow steps of +10,0 left the bar at $(bar_place), want 120 100"
  # Down and across, by turns: the box that came with the hover stays where it came, above, and a
  # pointer that went up would end over it. Each press comes after a small move, as a hand's does:
  # sway 1.7 tells of a surface that came under a still pointer only at its next motion.
  landed=0
  for i in $(seq 20); do
    d=1 && [ $((i % 2)) = 0 ] && d=-1
    pointer rel 1 0 && pointer rel -1 0
    pointer down 1
    pointer rel $((10 * d)) 2 && pointer rel $((10 * d)) 3
    pointer rel $((10 * d)) 2 && pointer rel $((10 * d)) 3
    pointer up 1
    want="$((d > 0 ? 160 : 120)) $((100 + 10 * i))"
    if wait_until 3000 bar_is "$want"; then
      landed=$((landed + 1))
    else
      echo "$run: quick drag $i left the bar at $(bar_place), want $want" >&2
    fi
    sleep 0.2
  done
  [ "$landed" = 20 ] || fail "$run: $landed of 20 quick drags of 40,10 landed"
  # The same small move before the right-click: the bar moved under the still pointer.
  pointer rel 1 0 && pointer rel -1 0
  pointer click 3
  wait_garvo_ok
  expect_settings 120 300 60
  stop_compositor
  pass "$compositor at scale $scale: two slow steps and 20 of 20 quick drags at the pointer's travel"
done
