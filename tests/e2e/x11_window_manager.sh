# Under a real window manager: the bar stays visible above a window that is raised and focused
# over it, a drag moves it, and the focus stays with that window throughout.
source "$(dirname "$0")/lib.sh"

openbox --sm-disable >/dev/null 2>&1 &
OTHER_PIDS+=($!)
managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 10000 managed || fail "openbox did not start"

start_garvo '[SETTING]\r\nx=300\r\ny=300\r\ns=75\r\n'
xmessage -geometry 400x200+200+250 "a window over the bar" &
OTHER_PIDS+=($!)
wait_until 10000 eval 'other=$(xdotool search --name "^xmessage$" | head -1); [ -n "$other" ]' ||
  fail "the other window did not appear"
xdotool windowactivate --sync "$other"
focused() { [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = xmessage ]; }
wait_until 5000 focused || fail "the other window did not get the focus"

bar_on_top() {
  capture_bar
  [ "$(bar_pixel 0 0)" = "#000000" ] && [ "$(bar_pixel 60 1)" = "#FFFFFF" ] &&
    [ "$(bar_pixel 93 3)" = "#000000" ] && [ "$(bar_pixel 125 5)" = "#000000" ]
}
wait_until 1000 bar_on_top || fail "the bar is hidden under the other window"
pass "the bar stays above a window raised and focused over it"

drag 310 302 510 452
wait_until 2000 bar_at 500 450 || fail "bar at $(bar_position) after the drag, want 500 450"
focused || fail "the drag took the focus: $(xdotool getwindowfocus getwindowname)"
xdotool mousemove 520 452
wait_until 2000 info_viewable || fail "no info window on hover"
focused || fail "the info window took the focus"
pass "a drag moves it and the focus stays with the other window"

right_click 520 452
wait_garvo_ok
expect_settings 500 450 75
