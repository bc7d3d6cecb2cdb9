#!/usr/bin/env bash
# Builds garvo.exe and runs it under Wine: on the current X display until you right-click it,
# or, with no display, on a virtual one for a few seconds, leaving a magnified screenshot.
# The 32-bit image where this machine runs 32-bit programs, else the 64-bit one
# (GARVO_ARCH=i686|x86_64 picks one). garvo.ini is read from and written to the current directory.
set -euo pipefail
here=$(pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib.sh"
garvo_check_arch
bash "$root/scripts/setup.sh"
garvo_choose_sides
garvo_use_side "$GARVO_ARCH"

garvo_build_windows "$GARVO_ARCH" garvo
exe=$GARVO_WIN_BUILD/garvo.exe

trap garvo_stop EXIT
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  garvo_start_wine
  echo "garvo ($GARVO_ARCH) runs on $DISPLAY: drag to move, double-click to set the threshold, right-click to quit."
  cd "$here"
  status=0
  "$GARVO_WINE" "$exe" || status=$?
  exit $status
fi

garvo_start_display
garvo_start_wine
cd "$here"
"$GARVO_WINE" "$exe" &
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
shot=$GARVO_BUILD/screenshot.png
import -window root -crop "146x$((y - top + 16))+$((x > 10 ? x - 10 : 0))+$top" +repage \
  -filter point -resize 500% "$shot"
xdotool mousemove $((x + 40)) $((y + 3)) click 3
wait $pid || true
echo "garvo ($GARVO_ARCH) ran on a virtual display; screenshot: $shot"
