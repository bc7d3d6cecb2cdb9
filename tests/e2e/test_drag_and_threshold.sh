# Dragging moves the bar; a double-click sets the threshold; both are saved at the end.
source "$(dirname "$0")/lib.sh"

hold_load 5 # a fill of a few columns, not one hidden under the marker
start_garvo '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n'
drag 210 302 410 452
wait_until 2000 bar_at 400 450 || fail "bar at $(bar_position) after the drag, want 400 450"
pass "a drag moves the bar"

double_click 463 452 # client x 63
wait_until 2000 info_viewable || fail "no info window after the double-click"
[[ "$(info_text)" == *"%use(w:50%)" ]] || fail "info text '$(info_text)', want threshold 50"
wait_until 1500 eval 'capture_bar; [ "$(bar_pixel 63 2)" = "#000000" ]' ||
  fail "no marker at column 63 after the double-click"
pass "a double-click at client x 63 sets 50"

# At the left margin the threshold is 0: the whole fill turns red at the next paint.
fill_red() {
  local x
  capture_bar
  [ "$(bar_pixel 2 2)" = "#000000" ] && [ "$(bar_pixel 3 1)" = "#FFFFFF" ] || return 1
  for x in 3 4; do
    [ "$(bar_pixel $x 2)" = "#FF0000" ] && [ "$(bar_pixel $x 3)" = "#FF0000" ] || return 1
  done
}
double_click 401 452
wait_until 1500 fill_red || fail "fill not red from column 3 on: $(grep -E '^[2-5],2 ' "$WORK/bar.txt" | tr '\n' ' ')"
pass "a double-click at the left margin sets 0 and turns the fill red"

right_click 460 452
wait_garvo_ok
expect_settings 400 450 0
pass "the dragged position and the new threshold are saved"
