# Start-up with and without saved settings; a right-click ends the run and saves x, y, s.
source "$(dirname "$0")/lib.sh"

# No settings file: top-left corner, frame drawn, marker at 75 %.
start_garvo ""
bar_at 0 0 || fail "bar at $(bar_position), want 0 0"
info_hidden || fail "the info window shows at start"
capture_bar
for point in "0 0" "125 0" "0 5" "125 5" "93 0" "93 3"; do
  [ "$(bar_pixel $point)" = "#000000" ] || fail "pixel $point is $(bar_pixel $point), want black"
done
for point in "1 1" "124 4" "60 1"; do
  [ "$(bar_pixel $point)" = "#FFFFFF" ] || fail "pixel $point is $(bar_pixel $point), want white"
done
pass "starts at the top-left corner, painted"

right_click 60 3
wait_garvo_ok
expect_settings 0 0 75
pass "right-click ends with status 0 and writes x, y, s"

# Saved settings: placed there, marker at 60 % (column 75); the window closes on release only.
start_garvo '[SETTING]\r\nx=300\r\ny=200\r\ns=60\r\n'
bar_at 300 200 || fail "bar at $(bar_position), want 300 200"
capture_bar
[ "$(bar_pixel 75 2)" = "#000000" ] || fail "no marker at column 75"
pass "starts at the saved position with the saved threshold"

# A press on the bar and a release away from it is no click either.
pointer move 350 203
sleep 0.2
pointer down 3
sleep 0.3
pointer move 600 500
sleep 0.3
pointer up 3
sleep 1
kill -0 "$GARVO_PID" || fail "ended on a right-button release away from the bar"
pointer move 350 203
sleep 0.2
pointer down 3
sleep 1
kill -0 "$GARVO_PID" || fail "ended on the button press"
pointer up 3
wait_garvo_ok
expect_settings 300 200 60
pass "closes on the right button's release over it, not its press or a release elsewhere"

# A position off the screen comes back onto it.
start_garvo '[SETTING]\r\nx=5000\r\ny=-40\r\ns=75\r\n'
bar_at 897 0 || fail "bar at $(bar_position), want 897 0"
right_click 900 3
wait_garvo
expect_settings 897 0 75
pass "a saved position off the screen is brought back onto it"
