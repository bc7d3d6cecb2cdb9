# The info window: the load and threshold above the bar while the pointer is over it, gone soon
# after it leaves, left in place while the bar is dragged; a right-click on it ends the program.
source "$(dirname "$0")/lib.sh"

start_garvo '[SETTING]\r\nx=200\r\ny=300\r\ns=64\r\n'
pointer move 250 302
wait_until 2000 info_viewable || fail "no info window while the pointer is over the bar"
[ "$(info_position)" = "200 276" ] || fail "info window at $(info_position), want 200 276"
text=$(info_text)
load=$(memory_load)
[[ "$text" =~ ^([0-9]+)%use\(w:64%\)$ ]] || fail "info text '$text'"
shown=${BASH_REMATCH[1]}
[ $((shown - load)) -le 1 ] && [ $((load - shown)) -le 1 ] ||
  fail "info shows load $shown, the platform reports $load"
pass "hovering shows '$text' just above the bar"

pointer move 700 600
left=$(now_ms)
# When the look that found it hidden began: a look at the screen can take a while.
hidden_by() {
  local at
  at=$(now_ms)
  info_hidden && took=$((at - left))
}
wait_until 2000 hidden_by || fail "the info window stays after the pointer left"

[ "$took" -le 1000 ] || fail "hidden only after $took ms"
pass "hidden $took ms after the pointer left"

# The box comes up over the bar and stays where it was put while the bar is dragged away.
# (Another point than the last one over the bar: a pointer back where it was is no movement.)
pointer move 260 303
wait_until 2000 info_viewable || fail "no info window on the second hover"
drag 260 303 560 503
wait_until 2000 bar_at 500 500 || fail "bar at $(bar_position) after the drag, want 500 500"
info_viewable || fail "the info window hid during the drag"
[ "$(info_position)" = "200 276" ] || fail "info window moved to $(info_position)"
pass "a shown box stays put while the bar is dragged"

# Closing through the box keeps the position the bar started at.
right_click 210 285
wait_garvo_ok
expect_settings 200 300 64
pass "a right-click on the box ends the program and keeps the start position"

# A place past the screen's edge is kept on it as the bar starts: closing through the box saves
# that start, as it stood, not the place as read.
start_garvo '[SETTING]\r\nx=898\r\ny=762\r\ns=64\r\n'
wait_until 2000 bar_at 897 761 || fail "bar at $(bar_position), want 897 761"
pointer move 950 763
wait_until 2000 info_viewable || fail "no info window over the bar at the screen's corner"
right_click 950 750
wait_garvo_ok
expect_settings 897 761 64
pass "closing through the box saves the start position kept on the screen"
