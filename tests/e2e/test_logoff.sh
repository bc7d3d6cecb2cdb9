# A logoff ends garvo without a close request: what the session changed is saved all the same.
source "$(dirname "$0")/lib.sh"

start_garvo '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n'
drag 210 302 310 402
wait_until 2000 bar_at 300 400 || fail "bar at $(bar_position) after the drag, want 300 400"
double_click 363 402 # client x 63
wait_until 2000 info_viewable || fail "no info window after the double-click"

end_session
wait_garvo
expect_settings 300 400 50
pass "the session's end saves the dragged position and the new threshold"
