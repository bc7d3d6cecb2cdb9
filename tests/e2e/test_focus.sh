# Starting garvo and hovering over its bar leave the keyboard focus where it was.
source "$(dirname "$0")/lib.sh"

(cd "$WORK" && exec "$GARVO_WINE" notepad) &
OTHER_PIDS+=($!)
focused() { [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "Untitled - Notepad" ]; }
wait_until 15000 focused || fail "the other program never got the focus"

start_garvo '[SETTING]\r\nx=600\r\ny=700\r\ns=75\r\n'
sleep 1
focused || fail "garvo took the focus at start: $(xdotool getwindowfocus getwindowname)"
pass "start-up leaves the focus with the other program"

xdotool mousemove 620 702
wait_until 2000 info_viewable || fail "no info window on hover"
focused || fail "the info window took the focus: $(xdotool getwindowfocus getwindowname)"
pass "the info window shows without taking the focus"

right_click 620 702
wait_garvo
[ "$GARVO_STATUS" = 0 ] || fail "exit status $GARVO_STATUS"
