# The native gauge on a screen of twice the density (Xft.dpi: 192): twice the size, pixel for
# pixel the picture at scale 1 magnified, with the box's bottom on the bar's top; and a
# double-click gives the threshold that the same spot gives at scale 1.
unset DISPLAY # a display of its own, since its resources change
source "$(dirname "$0")/lib.sh"
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	192"

# The same gauge at scale 1 beside it, for the picture to compare with.
mkdir "$WORK/one"
printf '[SETTING]\r\nx=100\r\ny=100\r\ns=60\r\n' >"$WORK/one/garvo.ini"
(cd "$WORK/one" && GDK_SCALE=1 exec "$GARVO_EXE") &
OTHER_PIDS+=($!)
start_garvo '[SETTING]\r\nx=100\r\ny=300\r\ns=60\r\n'
window_at() { garvo_windows | grep -q "|$1\$"; }
# The text of the box of that size and place.
text_of() { garvo_windows | awk -F'|' -v at="$1" '$2 == at { sub(/^[^ ]* /, "", $1); print $1 }'; }
wait_until 2000 window_at "126 6 100 100" || fail "no bar at scale 1"
wait_until 2000 window_at "252 12 100 300" ||
  fail "the bar at scale 2 is not 252 x 12 at 100 300: $(garvo_windows)"

# Both captured at once, the small one magnified: not a pixel differs.
same_picture() { # width height, the small one's corner, the large one's
  import -window root -crop "$1x$2+$3+$4" +repage -filter point -resize 200% "$WORK/small.png"
  import -window root -crop "$(($1 * 2))x$(($2 * 2))+$5+$6" +repage "$WORK/large.png"
  [ "$(compare -metric AE "$WORK/small.png" "$WORK/large.png" null: 2>&1)" = 0 ]
}
wait_until 3000 same_picture 126 6 100 100 100 300 ||
  fail "the bar at scale 2 is not the bar magnified: $(compare -metric AE "$WORK/small.png" "$WORK/large.png" null: 2>&1) pixels differ"
pass "the bar is 252 x 12, the bar at scale 1 magnified"

# The boxes, each while the pointer is over its bar: the same text, magnified as sharp. The two
# gauges sample the load apart, so a pair that caught it moving is taken again.
shown_at() {
  local id
  id=$(garvo_windows | awk -F'|' -v at="$1" '$2 == at { split($1, n, " "); print n[1] }')
  [ -n "$id" ] && xwininfo -id "$id" | grep -q 'Map State: IsViewable'
}
same_box() {
  xdotool mousemove 150 103
  wait_until 2000 shown_at "126 24 100 76" || fail "no box at scale 1"
  sleep 0.3
  import -window root -crop 126x24+100+76 +repage -filter point -resize 200% "$WORK/box.png"
  text=$(text_of "126 24 100 76")
  xdotool mousemove 150 305
  wait_until 2000 shown_at "252 48 100 252" || fail "no 252 x 48 box with its bottom on the bar's top"
  wait_until 1000 eval '[ "$(text_of "252 48 100 252")" = "$text" ]' || return 1
  import -window root -crop 252x48+100+252 +repage "$WORK/large.png"
}
same_box || same_box || same_box || fail "the boxes say '$text' and '$(text_of "252 48 100 252")'"
[ "$(compare -metric AE "$WORK/box.png" "$WORK/large.png" null: 2>&1)" = 0 ] ||
  fail "the box at scale 2 is not the box magnified"
pass "the box says '$text', the box at scale 1 magnified"

# Client x 63 at scale 1 is screen columns 226 and 227 here: both give 50.
for x in 226 227; do
  double_click "$x" 305
  wait_until 2000 eval '[[ "$(text_of "252 48 100 252")" == *"%use(w:50%)" ]]' ||
    fail "a double-click at $x gives '$(text_of "252 48 100 252")', want 50"
  sleep 0.6 # no double-click with the next pair
done
wait_until 1500 eval '[ "$(pixels 2 12 226 300 | grep -c "#000000")" = 24 ]' ||
  fail "no marker two columns wide at 226"
pass "a double-click at client x 63, scaled, sets 50 and puts the marker there"
right_click 110 305
wait_garvo
expect_settings 100 300 50
