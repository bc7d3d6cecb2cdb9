#!/usr/bin/env bash
# Builds garvo and runs it: on the current display until you right-click it, or, with no
# display, on a virtual X one for a few seconds, leaving a magnified screenshot.
#   bash scripts/run.sh            garvo.exe under Wine: the 32-bit image where this machine runs
#                                  32-bit programs, else the 64-bit one (GARVO_ARCH=i686|x86_64)
#   bash scripts/run.sh --native   the native gauge: on Wayland where the compositor has a layer
#                                  shell, else on X11
# On a real display garvo.ini is read from and written to the current directory.
set -euo pipefail
here=$(pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib.sh"
native=
case ${1:-} in
  --native) native=yes ;;
  "") ;;
  *)
    echo "usage: bash scripts/run.sh [--native]" >&2
    exit 2
    ;;
esac
garvo_check_arch
# A display of the desktop's own, or a virtual one with the tools for its screenshot.
display=display
if [ -n "$native" ] && [ -n "${WAYLAND_DISPLAY:-}" ]; then
  display=
elif [ -n "${DISPLAY:-}" ] && { ! command -v xdpyinfo >/dev/null || xdpyinfo >/dev/null 2>&1; }; then
  display=
fi
if [ -n "$native" ]; then
  bash "$root/scripts/setup.sh" native $display
else
  # The image this machine can run, asked before its Wine is installed; the one that Wine then
  # runs, if that is the other, is installed for as well.
  want=${GARVO_ARCH:-x86_64}
  [ -n "${GARVO_ARCH:-}" ] || ! garvo_kernel_runs_32bit || want=i686
  bash "$root/scripts/setup.sh" run "$want" $display
  garvo_choose_sides
  [ "$GARVO_ARCH" = "$want" ] || bash "$root/scripts/setup.sh" run "$GARVO_ARCH" $display
fi

if [ -n "$native" ]; then
  garvo_build_x11 garvo
  gauge=("$GARVO_X11_GAUGE")
  name="the native garvo"
  shot=$GARVO_BUILD/screenshot-native.png
else
  garvo_use_side "$GARVO_ARCH"
  garvo_build_windows "$GARVO_ARCH" garvo
  gauge=("$GARVO_WINE" "$GARVO_WIN_BUILD/garvo.exe")
  name="garvo.exe ($GARVO_ARCH)"
  shot=$GARVO_BUILD/screenshot.png
fi

trap garvo_stop EXIT
if [ -n "$native" ] && [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "$name runs on $WAYLAND_DISPLAY, or on X11 if that has no layer shell: drag to move, double-click to set the threshold, right-click to quit."
  cd "$here"
  status=0
  "${gauge[@]}" || status=$?
  exit $status
fi
if [ -z "$display" ]; then
  [ -n "$native" ] || garvo_start_wine
  echo "$name runs on $DISPLAY: drag to move, double-click to set the threshold, right-click to quit."
  cd "$here"
  status=0
  "${gauge[@]}" || status=$?
  exit $status
fi

# A demonstration on a screen of its own: in a scratch directory, so that a position saved for a
# real screen is not pulled onto this one, with the bar placed where its box can show.
garvo_start_display
[ -n "$native" ] || garvo_start_wine
demo=$(mktemp -d)
printf '[SETTING]\r\nx=40\r\ny=60\r\ns=75\r\n' >"$demo/garvo.ini"
cd "$demo"
GARVO_BACKEND=x11 "${gauge[@]}" &
pid=$!
sleep 3
# The pointer over the bar brings up the info box above it.
bar=$(xwininfo -root -tree | sed -n 's/.*("garvo[^"]*" "garvo[^"]*")  126x6+[-0-9]*+[-0-9]*  +\([-0-9]*\)+\([-0-9]*\)$/\1 \2/p')
x=${bar% *}
y=${bar#* }
xdotool mousemove $((x + 40)) $((y + 3))
sleep 0.3
xdotool mousemove $((x + 41)) $((y + 3))
sleep 1
# A little room around the bar and the box, magnified so that each pixel shows.
top=$((y > 34 ? y - 34 : 0))
import -window root -crop "146x$((y - top + 16))+$((x > 10 ? x - 10 : 0))+$top" +repage \
  -filter point -resize 500% "$shot"
xdotool mousemove $((x + 40)) $((y + 3)) click 3
wait $pid || true
rm -rf "$demo"
echo "$name ran on a virtual display; screenshot: $shot"
