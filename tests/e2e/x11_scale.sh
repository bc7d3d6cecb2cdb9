# The native gauge on denser screens. At Xft.dpi 192 (scale 2) the bar is twice the size and
# pixel for pixel the bar at scale 1 magnified; the box, with its bottom on the bar's top, says the
# same in text drawn at that size, not magnified; a double-click gives the threshold that the
# same spot gives at scale 1. At Xft.dpi 144 (KDE's 150 %) the sizes follow, the bar holds only
# its own colours, and a double-click maps back the same way. A change of Xft.dpi is followed,
# while running and while starting.
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
# How many pixels of that part of the screen are dark: a box's text.
dark_in() {
  import -window root -crop "$1" +repage png:- |
    convert - -threshold 40% -format '%[fx:int(w*h*(1-mean)+0.5)]' info:
}
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

# The boxes, each while the pointer is over its bar: the same text, the large one drawn at its
# size, not the small one magnified. The two gauges sample the load apart, so a pair that caught
# it moving is taken again.
shown_at() {
  local id
  id=$(garvo_windows | awk -F'|' -v at="$1" '$2 == at { split($1, n, " "); print n[1] }')
  [ -n "$id" ] && xwininfo -id "$id" | grep -q 'Map State: IsViewable'
}
same_text() {
  xdotool mousemove 150 103
  wait_until 2000 shown_at "126 24 100 76" || fail "no box at scale 1"
  text=$(text_of "126 24 100 76")
  xdotool mousemove 150 305
  wait_until 2000 shown_at "252 48 100 252" || fail "no 252 x 48 box with its bottom on the bar's top"
  wait_until 1000 eval '[ "$(text_of "252 48 100 252")" = "$text" ]'
}
same_text || same_text || same_text || fail "the boxes say '$text' and '$(text_of "252 48 100 252")'"
sleep 0.3
import -window root -crop 252x48+100+252 +repage "$WORK/large.png"
convert "$WORK/large.png" -sample 50% -sample 200% "$WORK/magnified.png"
differ=$(compare -metric AE "$WORK/large.png" "$WORK/magnified.png" null: 2>&1 || true)
dark=$(convert "$WORK/large.png" -crop 244x40+4+4 +repage -threshold 40% -format '%[fx:int(w*h*(1-mean)+0.5)]' info:)
[ "$dark" -gt 300 ] || fail "the box at scale 2 has $dark dark pixels: no text"
[ "$differ" -gt 100 ] || fail "the box at scale 2 is the box at scale 1 magnified ($differ pixels differ)"
pass "the box says '$text' in text drawn at scale 2 ($dark dark pixels, $differ unlike a magnification)"

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

# Scale 1.5: the bar 189 x 9 and the box 189 x 36, the bar in its own colours alone, the box with
# text; client x 63 is screen column 195 here.
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	144"
start_garvo '[SETTING]\r\nx=100\r\ny=500\r\ns=60\r\n'
wait_until 2000 window_at "189 9 100 500" || fail "the bar at scale 1.5 is not 189 x 9: $(garvo_windows)"
colours=$(pixels 189 9 100 500 | cut -d' ' -f2 | sort -u | tr '\n' ' ')
[ "$colours" = "#000000 #0000FF #FFFFFF " ] || fail "the bar at scale 1.5 shows $colours"
double_click 195 504
wait_until 2000 eval '[[ "$(text_of "189 36 100 464")" == *"%use(w:50%)" ]]' ||
  fail "a double-click at 195 gives '$(text_of "189 36 100 464")', want 50"
dark=$(dark_in 181x28+104+468)
[ "$dark" -gt 150 ] || fail "the box at scale 1.5 has $dark dark pixels: no text"
pass "at scale 1.5 the bar is 189 x 9 in its own colours, the box has text, and the threshold maps back"
end_session
wait_garvo_ok
expect_settings 100 500 50

# The desktop's scale changed while the gauge runs: at Xft.dpi 192 the bar is drawn again at
# 252 x 12 where it stands, and the box that comes over it has text drawn at that scale.
start_garvo '[SETTING]\r\nx=100\r\ny=500\r\ns=60\r\n'
wait_until 2000 window_at "189 9 100 500" || fail "no bar at scale 1.5: $(garvo_windows)"
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	192"
wait_until 2000 window_at "252 12 100 500" || fail "at Xft.dpi 192 the bar is not 252 x 12: $(garvo_windows)"
wait_until 2000 eval '[ "$(pixels 1 12 100 500 | grep -c "#000000")" = 12 ]' ||
  fail "the bar at its new size has no outline"
xdotool mousemove 150 505
wait_until 2000 eval 'garvo_windows | grep -q "|252 48 100 452$"' || fail "no 252 x 48 box: $(garvo_windows)"
sleep 0.3
dark=$(dark_in 244x40+104+456)
[ "$dark" -gt 300 ] || fail "the box at the new scale has $dark dark pixels: no text"
pass "Xft.dpi changed while running: the bar is drawn again at 252 x 12, the box with text at that scale"
end_session
wait_garvo_ok
expect_settings 100 500 60

# Xft.dpi set while the gauge starts, as a settings daemon started beside it at login sets it:
# after the gauge has read the scale, before it waits for its first event.
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	96"
proxy dpi-at-monitors
printf '[SETTING]\r\nx=100\r\ny=500\r\ns=60\r\n' >"$WORK/garvo.ini"
(cd "$WORK" && DISPLAY=$fake exec "$GARVO_EXE") &
GARVO_PID=$!
wait_until 3000 window_at "252 12 100 500" ||
  fail "Xft.dpi set at start-up: the bar is not 252 x 12: $(garvo_windows)"
pass "Xft.dpi set while it starts: the bar is drawn at 252 x 12"
end_session
wait_garvo_ok
