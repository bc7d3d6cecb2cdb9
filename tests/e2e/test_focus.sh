# Starting garvo and hovering over its bar leave the keyboard focus where it was.
source "$(dirname "$0")/lib.sh"

# Another program of the gauge's own platform has the focus.
if is_native; then
  other="xmessage"
  xmessage -geometry 300x100+500+500 "has the focus" &
  OTHER_PIDS+=($!)
  give_focus() { xdotool search --name '^xmessage$' windowfocus --sync >/dev/null 2>&1; }
  wait_until 10000 give_focus || fail "could not focus the other program"
else
  other="Untitled - Notepad"
  (cd "$WORK" && exec "$GARVO_WINE" notepad) &
  OTHER_PIDS+=($!)
fi
focused() { [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "$other" ]; }
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
wait_garvo_ok
