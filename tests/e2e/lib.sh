# Helpers for driving garvo as a user does: real X mouse input, windows found by their X names,
# pixels read off the screen. Source it with the gauge as $1 (garvo.exe, run under $GARVO_WINE,
# or the native garvo) and its load probe as $2 (memory_load.exe, or native_load); the native
# tests' other helpers are in $GARVO_TOOLS.
set -euo pipefail

GARVO_EXE=$(realpath "$1")
MEMORY_LOAD_EXE=$(realpath "${2:-/dev/null}")
GARVO_WINE=${GARVO_WINE:-wine}
WORK=$(mktemp -d)
GARVO_PID=
GARVO_STATUS=
OTHER_PIDS=()
# The native gauge keeps its settings in the configuration directory when the current one has no
# garvo.ini: here, in the scratch directory too.
export XDG_CONFIG_HOME=$WORK/config

cleanup() {
  # Only a process that is still this script's own: a number freed long ago may be another
  # program's by now (pid_max is often 32768), a test of another suite running beside this one.
  # A server a test stopped must go on to end.
  for pid in $GARVO_PID "${OTHER_PIDS[@]}"; do
    [ "$(ps -o ppid= -p "$pid" 2>/dev/null | tr -d ' ')" = $$ ] || continue
    kill "$pid" 2>/dev/null && kill -CONT "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

is_native() { [[ $GARVO_EXE != *.exe ]]; }

# A gauge built for another Debian architecture (GARVO_EMULATED=arm64|armhf) runs under user-mode
# emulation, started explicitly, with the multiarch loader and libraries. The launcher in its
# place is named garvo and so is the emulator's link, so that the process is called garvo; and
# all of it lies where an ordinary user can run it. A program of any other architecture fails.
if [ -n "${GARVO_EMULATED:-}" ]; then
  source "$(dirname "${BASH_SOURCE[0]}")/../common/architectures.sh"
  qemu=$(garvo_qemu "$GARVO_EMULATED")
  [ -n "$qemu" ] || { echo "FAIL: no emulator for '$GARVO_EMULATED'" >&2 && exit 1; }
  garvo_is_for "$GARVO_EXE" "$GARVO_EMULATED" ||
    { echo "FAIL: $GARVO_EXE is no $GARVO_EMULATED program: $(file -b "$GARVO_EXE")" >&2 && exit 1; }
  mkdir -p "$WORK/emulated/qemu"
  cp "$GARVO_EXE" "$WORK/emulated/garvo.$GARVO_EMULATED"
  ln -s "$(command -v "$qemu")" "$WORK/emulated/qemu/garvo"
  printf '#!/bin/sh\nexec %s %s "$@"\n' "$WORK/emulated/qemu/garvo" \
    "$WORK/emulated/garvo.$GARVO_EMULATED" >"$WORK/emulated/garvo"
  chmod -R a+rX "$WORK/emulated" && chmod 755 "$WORK/emulated/garvo"
  GARVO_EXE=$WORK/emulated/garvo
fi

# The first display number from n on that no server holds.
free_display() {
  local n=$1
  # A server in another root (a chroot's) holds the number by its abstract socket alone.
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] ||
    grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix; do n=$((n + 1)); done
  echo "$n"
}

# A virtual display of the script's own, 1024 x 768 at that depth (24 bits unless told), as
# DISPLAY; its server's pid in $SERVER_PID.
new_display() {
  local n
  n=$(free_display "${1:-120}")
  Xvfb ":$n" -screen 0 "1024x768x${2:-24}" -wr -noreset -nolisten tcp >/dev/null 2>&1 &
  SERVER_PID=$!
  OTHER_PIDS+=("$SERVER_PID")
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "FAIL: no display :$n" >&2
  exit 1
}

# A server that misbehaves in that way (see x_proxy) in front of DISPLAY; sets $fake to its display.
proxy() {
  local n
  n=$(free_display 160)
  "$GARVO_TOOLS/x_proxy" "$1" "$n" "$DISPLAY" >"$WORK/proxy.$1" 2>&1 &
  OTHER_PIDS+=($!)
  wait_until 5000 grep -q ready "$WORK/proxy.$1" || fail "the $1 server did not start"
  fake=:$n
}

GARVO_FRONT=${GARVO_FRONT:-x11}

# A cursor theme "blank" in that folder, whose every pointer is one transparent pixel, in
# Xcursor's format: screenshots show the gauge alone.
blank_cursors() {
  le() { local b; for b in 0 8 16 24; do printf "\\x$(printf %02x $(($1 >> b & 255)))"; done; }
  local image=4294770690 # an image chunk, 0xfffd0002
  mkdir -p "$1/blank/cursors"
  {
    printf Xcur; le 16; le 65536; le 1; le $image; le 24; le 28
    le 36; le $image; le 24; le 1; le 1; le 1; le 0; le 0; le 0; le 0
  } >"$1/blank/cursors/left_ptr"
  ln -sf left_ptr "$1/blank/cursors/default"
}

# The Wayland front end's runs: headless sway as an ordinary user (it refuses root), the outputs
# that GARVO_OUTPUTS lists as sway's "output" lines, one 1024 x 768 by default, a solid background
# and a cursor that hides, so that screenshots show the gauge alone; and one virtual pointer for
# the whole script. The gauge and the tools run as root, which the user's socket lets in.
start_compositor() {
  local user=garvo-e2e runtime outputs=${GARVO_OUTPUTS:-"HEADLESS-1 mode 1024x768 position 0 0"} count
  # "none": a compositor with no output yet, as a laptop with its lid shut and no monitor.
  count=$(wc -l <<<"$outputs")
  [ "$outputs" = none ] && outputs= && count=0
  make_user "$user"
  runtime=$(mktemp -d "$WORK/runtime.XXXXXX")
  chown "$user" "$runtime"
  blank_cursors "$WORK/icons"
  {
    while read -r line; do [ -z "$line" ] || echo "output $line bg #336699 solid_color"; done <<<"$outputs"
    echo "seat * xcursor_theme blank 24"
  } >"$WORK/sway.conf"
  exec_as_user "$user" env -i PATH=/usr/bin:/bin HOME="$WORK" XDG_RUNTIME_DIR="$runtime" \
    XCURSOR_PATH="$WORK/icons" XCURSOR_THEME=blank \
    WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS="$count" \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$WORK/sway.conf" >"$WORK/sway.log" 2>&1 &
  OTHER_PIDS+=($!)
  wait_until 10000 eval 'ls "$runtime" | grep -q "^wayland-[0-9]*$"' ||
    fail "sway did not start: $(tail -3 "$WORK/sway.log")"
  export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$(ls "$runtime" | grep '^wayland-[0-9]*$' | head -1)
  export SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock)
  unset DISPLAY
  # The pointer's absolute moves span the outputs' layout, in logical pixels.
  POINTER_EXTENT=$(awk '{
      for (i = 1; i < NF; ++i) {
        if ($i == "mode") { split($(i + 1), m, "x"); w = m[1]; h = m[2] }
        if ($i == "position") { x = $(i + 1); y = $(i + 2) }
        if ($i == "scale") s = $(i + 1)
      }
      s = s ? s : 1
      if (x + w / s > W) W = x + w / s
      if (y + h / s > H) H = y + h / s
      s = 0
    } END { print int(W), int(H) }' <<<"$outputs")
  plug_pointer
}

# The virtual pointer, a new one in place of any before it: to the seat, a mouse unplugged and
# another plugged in.
plug_pointer() {
  if [ -n "${POINTER_PID:-}" ]; then kill "$POINTER_PID" 2>/dev/null || true; wait "$POINTER_PID" 2>/dev/null || true; fi
  coproc POINTER { exec "$GARVO_TOOLS/wl_pointer" $POINTER_EXTENT; }
  OTHER_PIDS+=("$POINTER_PID")
}


fail() {
  echo "FAIL: $*" >&2
  xwininfo -root -tree 2>/dev/null | grep -E "$GARVO_CLASS" >&2 || true
  exit 1
}

pass() { echo "ok: $*"; }

# Milliseconds since the epoch.
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Runs a command until it succeeds, at most the given number of milliseconds.
wait_until() {
  local limit=$1 start
  shift
  start=$(now_ms)
  until "$@"; do
    [ $(($(now_ms) - start)) -ge "$limit" ] && return 1
    sleep 0.05
  done
}

# garvo's X windows carry a class that starts with "garvo", under Wine and natively.
GARVO_CLASS='\("garvo[^"]*" "garvo[^"]*"\)'

# The X windows of garvo's process: "id name|width height x y" per line.
garvo_windows() {
  xwininfo -root -tree | sed -n -E 's/^ *(0x[0-9a-f]*) "(.*)": '"$GARVO_CLASS"'  ([0-9]*)x([0-9]*)\+-?[0-9]*\+-?[0-9]*  \+(-?[0-9]*)\+(-?[0-9]*)$/\1 \2|\3 \4 \5 \6/p'
}

# "x y" of the bar, the window 126 x 6.
bar_position() { garvo_windows | awk -F'|' '$2 ~ /^126 6 / { split($2, g, " "); print g[3], g[4] }'; }

# "id|x y" of the info window once it has its full size.
info_line() { garvo_windows | awk -F'|' '$2 ~ /^126 24 / { split($1, n, " "); split($2, g, " "); print n[1] "|" g[3], g[4] }'; }
info_position() { info_line | cut -d'|' -f2; }
info_text() {
  local id
  id=$(info_line | cut -d'|' -f1)
  [ -n "$id" ] && xwininfo -id "$id" | sed -n 's/^xwininfo: Window id: 0x[0-9a-f]* "\(.*\)"$/\1/p'
}
info_viewable() {
  local id
  id=$(info_line | cut -d'|' -f1)
  [ -n "$id" ] && xwininfo -id "$id" | grep -q 'Map State: IsViewable'
}
info_hidden() { ! info_viewable; }

# On Wayland no surface can be asked where it stands: the screen is read instead, for frames of
# the bar's and the box's sizes, and for the text the box shows.
if [ "$GARVO_FRONT" = wayland ]; then
  # A run that traces the gauge's protocol (WAYLAND_DEBUG) traces the gauge alone, not the
  # screenshots taken while it waits.
  grim() { env -u WAYLAND_DEBUG grim "$@"; }
  frames() { grim -t ppm - | "$GARVO_TOOLS/screen_reader" frames "$@"; }
  bar_position() { frames 126 6 1 | head -1; }
  info_line() { frames 126 24 1 | head -1 | sed 's/^/box|/'; }
  info_text() {
    local at
    at=$(info_position)
    [ -n "$at" ] && grim -t ppm - | "$GARVO_TOOLS/screen_reader" text $at
  }
  info_viewable() { [ -n "$(info_line)" ]; }
fi

bar_at() { [ "$(bar_position)" = "$1 $2" ]; }
bar_shown() { [ -n "$(bar_position)" ]; }

# Starts garvo in the scratch directory, with the settings file given as text (none if empty).
start_garvo() {
  rm -rf "$WORK/garvo.ini" "$XDG_CONFIG_HOME"
  [ -n "${1:-}" ] && printf '%b' "$1" >"$WORK/garvo.ini"
  if ! is_native; then
    (cd "$WORK" && exec "$GARVO_WINE" "$GARVO_EXE") &
  else
    (cd "$WORK" && exec "$GARVO_EXE") &
  fi
  GARVO_PID=$!
  wait_until 15000 bar_shown || fail "the bar did not appear"
}

# Waits for garvo to end and keeps its exit status.
wait_garvo() {
  local waited=0
  while kill -0 "$GARVO_PID" 2>/dev/null; do
    [ $waited -ge 100 ] && fail "garvo did not end"
    sleep 0.1
    waited=$((waited + 1))
  done
  GARVO_STATUS=0
  wait "$GARVO_PID" || GARVO_STATUS=$?
  GARVO_PID=
}

# Waits for garvo to end, and fails unless it ended with status 0.
wait_garvo_ok() {
  wait_garvo
  [ "$GARVO_STATUS" = 0 ] || fail "exit status $GARVO_STATUS${1:+ $1}"
}

# Ends the session as the gauge's platform does: Wine's end of session for the Windows image, the
# session manager's SIGTERM for the native one.
end_session() {
  if ! is_native; then
    "$GARVO_WINE" wineboot --end-session
  else
    kill -TERM "$GARVO_PID"
  fi
}

# An ordinary user, for what root cannot show (permissions, a compositor that refuses root), made
# once, who may enter the scratch directory.
make_user() {
  id "$1" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$1"
  chmod 755 "$WORK"
}
# The same, and the gauge copied where that user can run it, as $USER_GAUGE.
ordinary_user() {
  make_user "$1"
  mkdir -p "$WORK/bin"
  cp "$GARVO_EXE" "$WORK/bin/garvo"
  USER_GAUGE=$WORK/bin/garvo
}
as_user() { setpriv --reuid="$1" --regid="$1" --init-groups "${@:2}"; }
# The same in place of the shell that runs it, so that its pid is the command's.
exec_as_user() { exec setpriv --reuid="$1" --regid="$1" --init-groups "${@:2}"; }

# The file the run saved to: the current directory's, or the native gauge's own.
settings_file() { cat "$WORK/garvo.ini" 2>/dev/null || cat "$XDG_CONFIG_HOME/garvo/garvo.ini"; }

expect_settings() {
  local want
  want=$(printf '[SETTING]\r\nx=%s\r\ny=%s\r\ns=%s\r\n' "$1" "$2" "$3")
  [ "$(settings_file)" = "$want" ] || fail "settings file is: $(settings_file | tr '\r\n' ' '), want x=$1 y=$2 s=$3"
}

# The screen's pixels in a rectangle, one "x,y #rrggbb" per line, coordinates relative to it.
pixels() {
  if [ "$GARVO_FRONT" = wayland ]; then
    grim -g "$3,$4 $1x$2" -t ppm - | convert ppm:- -depth 8 txt:-
  else
    import -window root -crop "$1x$2+$3+$4" +repage -depth 8 txt:-
  fi | sed -n 's/^\([0-9]*\),\([0-9]*\): ([^)]*) *#\([0-9A-F]\{6\}\).*/\1,\2 #\3/p'
}

# The colour of one pixel of the bar, from a capture made by capture_bar.
bar_pixel() { grep "^$1,$2 " "$WORK/bar.txt" | cut -d' ' -f2; }
capture_bar() {
  local pos
  pos=$(bar_position)
  pixels 126 6 ${pos% *} ${pos#* } >"$WORK/bar.txt"
}

# The bar as it stands whole: its outline, its white interior and the threshold's marker at the
# given column (93, for 75 %, by default).
bar_intact() {
  capture_bar
  [ "$(bar_pixel 0 0)" = "#000000" ] && [ "$(bar_pixel 125 5)" = "#000000" ] &&
    [ "$(bar_pixel "${1:-93}" 3)" = "#000000" ] && [ "$(bar_pixel 60 1)" = "#FFFFFF" ]
}

# Columns of row 2 in the fill colour: more of them as the load rises.
fill_columns() {
  capture_bar
  grep -cE '^[0-9]+,2 #(0000FF|FF0000)$' "$WORK/bar.txt" || true
}

# The pointer, real input either way: xdotool on X11, the virtual pointer on Wayland.
pointer() {
  if [ "$GARVO_FRONT" = wayland ]; then
    local ack
    echo "$*" >&"${POINTER[1]}"
    read -r -t 5 ack <&"${POINTER[0]}" && [ "$ack" = ok ] || fail "the pointer did not take '$*'"
  else
    case $1 in
      move) xdotool mousemove "$2" "$3" ;;
      rel) xdotool mousemove_relative -- "$2" "$3" ;;
      down) xdotool mousedown "$2" ;;
      up) xdotool mouseup "$2" ;;
      click) xdotool click "$2" ;;
    esac
  fi
}

# Drags with the left button from one screen point to another in small steps, as a hand does.
drag() {
  local x=$1 y=$2 to_x=$3 to_y=$4 i
  pointer move "$x" "$y"
  sleep 0.2
  pointer down 1
  sleep 0.2
  for i in 1 2 3 4 5 6 7 8 9 10; do
    pointer move $((x + (to_x - x) * i / 10)) $((y + (to_y - y) * i / 10))
    sleep 0.05
  done
  sleep 0.2
  pointer up 1
  sleep 0.3
}

double_click() {
  pointer move "$1" "$2"
  sleep 0.2
  pointer click 1
  sleep 0.08
  pointer click 1
}

right_click() {
  pointer move "$1" "$2"
  sleep 0.2
  pointer click 3
}

# exec, so that a probe started in the background is the process that cleanup kills.
load_probe() {
  if is_native; then exec "$MEMORY_LOAD_EXE" "$@"; else exec "$GARVO_WINE" "$MEMORY_LOAD_EXE" "$@"; fi
}
memory_load() { (load_probe) | tr -d '\r'; }

# Keeps that percentage of memory in use until the test ends, on top of whatever else is: the load
# rises by at least that much, and stays at least that high while other programs free theirs.
hold_load() {
  local total need chunk
  total=$(awk '/^MemTotal:/ { print $2 }' /proc/meminfo)
  need=$((total * $1 / 100 / 1024 + 64))
  while [ "$need" -gt 64 ]; do
    chunk=$((need > 1024 ? 1024 : need))
    (load_probe hold "$chunk") >"$WORK/hold.$need" &
    OTHER_PIDS+=($!)
    wait_until 20000 grep -q held "$WORK/hold.$need" || fail "could not hold $chunk MB"
    need=$((need - chunk))
  done
}

if [ "$GARVO_FRONT" = wayland ]; then
  start_compositor
elif ! xdpyinfo >/dev/null 2>&1; then
  # With no display to use, one of its own.
  new_display
fi
