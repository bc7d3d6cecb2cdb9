# The native gauge as a process: it runs below normal priority; SIGINT and SIGHUP save as a logout
# does, and so does the X server going away; with no display to use, one clear line and status 1,
# and the file left as it was.
source "$(dirname "$0")/lib.sh"

for signal in INT HUP; do
  start_garvo '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n'
  nice=$(ps -o ni= -p "$GARVO_PID" | tr -d ' ')
  [ "$nice" -gt "$(nice)" ] || fail "runs at nice $nice, no lower than the shell that started it"
  drag 210 302 310 402
  wait_until 2000 bar_at 300 400 || fail "bar at $(bar_position) after the drag, want 300 400"
  kill -"$signal" "$GARVO_PID"
  wait_garvo
  [ "$GARVO_STATUS" = 0 ] || fail "exit status $GARVO_STATUS after SIG$signal"
  expect_settings 300 400 75
  pass "SIG$signal saves the dragged position"
done

# A display of its own, to take away while garvo runs on it.
shared_display=$DISPLAY
n=150
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
OTHER_PIDS+=("$server")
export DISPLAY=":$n"
wait_until 10000 xdpyinfo >/dev/null 2>&1 || fail "no display :$n"
start_garvo '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n'
double_click 263 302 # client x 63
wait_until 2000 info_viewable || fail "no info window after the double-click"
kill "$server"
wait_garvo
export DISPLAY=$shared_display
[ "$GARVO_STATUS" = 0 ] || fail "exit status $GARVO_STATUS when the display went away"
expect_settings 200 300 50
pass "the X server going away saves the new threshold"

# No display, or one that cannot be reached.
before='; mine\r\n[SETTING]\r\nx=1\r\n'
for display in "" ":4093"; do
  printf '%b' "$before" >"$WORK/garvo.ini"
  status=0
  (cd "$WORK" && DISPLAY=$display exec "$GARVO_EXE") 2>"$WORK/stderr" || status=$?
  [ "$status" = 1 ] || fail "exit status $status with DISPLAY='$display', want 1"
  [ "$(wc -l <"$WORK/stderr")" = 1 ] && grep -q 'display' "$WORK/stderr" ||
    fail "with DISPLAY='$display' it said: $(cat "$WORK/stderr")"
  [ "$(settings_file)" = "$(printf '%b' "$before")" ] || fail "the settings file changed"
  pass "DISPLAY='$display': $(cat "$WORK/stderr")"
done
