# A drag pushed past the screen's edge and back: the bar stays under the pointer, which the
# screen's edge held back, on X11 and on Wayland alike.
source "$(dirname "$0")/lib.sh"

start_garvo '[SETTING]\r\nx=800\r\ny=300\r\ns=75\r\n'
pointer move 810 302
sleep 0.2
pointer down 1
sleep 0.2
for _ in 1 2 3 4 5 6 7 8 9 10; do
  pointer rel 200 0
  sleep 0.05
done
for _ in 1 2 3; do
  pointer rel -100 0
  sleep 0.05
done
sleep 0.2
pointer up 1
# The pointer stopped at column 1023, then came back 300.
wait_until 2000 bar_at 713 300 || fail "after the drag the bar is at $(bar_position), want 713 300 under the pointer"
right_click 720 302
wait_garvo_ok
expect_settings 713 300 75
pass "pushed 2000 px past the edge and back 300: the bar is under the pointer"
