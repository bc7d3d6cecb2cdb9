# The Wayland front end against a compositor that misbehaves on purpose (wl_rogue): one that closes
# every layer surface, one with an output at the 32-bit edge, configures that change nothing, one
# after every commit, an old wl_compositor, a protocol error, an error on the display itself, no
# wl_shm. The gauge neither loops, nor overflows, nor asks for what the version lacks, nor calls an
# error a success, and says what is missing.
GARVO_FRONT=rogue
source "$(dirname "$0")/lib.sh"
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d "$WORK/runtime.XXXXXX")

# Starts the compositor with those switches; what it says goes to $WORK/rogue.
rogue() {
  "$GARVO_TOOLS/wl_rogue" rogue "$@" >"$WORK/rogue" &
  ROGUE_PID=$!
  OTHER_PIDS+=("$ROGUE_PID")
  wait_until 3000 grep -q ready "$WORK/rogue" || fail "wl_rogue $* did not start"
}
stop_rogue() {
  kill "$ROGUE_PID"
  wait "$ROGUE_PID" 2>/dev/null || true
}
run_garvo() {
  printf '%b' "$1" >"$WORK/garvo.ini"
  (cd "$WORK" && GARVO_BACKEND=wayland WAYLAND_DISPLAY=rogue exec "$GARVO_EXE") 2>"$WORK/stderr" &
  GARVO_PID=$!
}
said() { grep -c "^$1" "$WORK/rogue" || true; }
# The gauge on the compositor for that many seconds, then ended as at a logout.
run_for() {
  run_garvo '[SETTING]\r\nx=200\r\ny=100\r\ns=60\r\n'
  sleep "$1"
  kill -TERM "$GARVO_PID"
  wait_garvo_ok
}

rogue close
run_for 5
layers=$(said layer)
[ "$layers" -le 4 ] || fail "a compositor that closes every layer surface was asked for $layers in 5 s"
stop_rogue
pass "each layer surface closed at once: $layers asked for in 5 s"

rogue edge
run_garvo '[SETTING]\r\nx=2147483100\r\ny=100\r\ns=60\r\n'
wait_until 3000 grep -q '^margin 100 100 ' "$WORK/rogue" ||
  fail "the bar is not at 100 100 on the output at x = 2147483000: $(grep margin "$WORK/rogue")"
kill -TERM "$GARVO_PID"
wait_garvo_ok
expect_settings 2147483100 100 60
stop_rogue
pass "an output at the 32-bit edge holds the bar where it was saved"

# Configures that change nothing are answered without a new picture (sway 1.10 sends one after
# every move).
rogue configures
run_for 2
buffers=$(said buffer)
[ "$buffers" -le 3 ] || fail "ten configures that change nothing brought $buffers pictures"
stop_rogue
pass "ten configures that change nothing: $buffers pictures in all"

# A configure after every commit, as the protocol allows: each is acknowledged, and none answered
# with a commit of its own.
rogue configure-always
run_for 2
commits=$(said commit)
[ "$commits" -le 20 ] || fail "a configure after every commit brought $commits commits in 2 s"
stop_rogue
pass "a configure after every commit: $commits commits in 2 s"

rogue old-compositor
run_garvo '[SETTING]\r\nx=200\r\ny=100\r\ns=60\r\n'
wait_until 3000 grep -q '^buffer$' "$WORK/rogue" || fail "no picture on an old wl_compositor"
sleep 0.5
kill -0 "$GARVO_PID" 2>/dev/null || fail "ended on an old wl_compositor: $(cat "$WORK/stderr")"
kill -TERM "$GARVO_PID"
wait_garvo_ok
stop_rogue
pass "wl_compositor version 3: pictures shown with what that version has"

# An error on an object, and one on the display itself: each is a failure, said in one line.
for error in error:wl_surface display-error:wl_display; do
  rogue "${error%%:*}"
  run_garvo '[SETTING]\r\nx=200\r\ny=100\r\ns=60\r\n'
  wait_garvo
  [ "$GARVO_STATUS" = 1 ] || fail "${error%%:*} ends with status $GARVO_STATUS"
  [ "$(grep -c '^garvo:' "$WORK/stderr")" = 1 ] &&
    grep -q "^garvo: .*protocol error.* ${error#*:}" "$WORK/stderr" ||
    fail "${error%%:*}, and it said: $(cat "$WORK/stderr")"
  expect_settings 200 100 60
  stop_rogue
  pass "${error%%:*}: status 1, $(grep '^garvo:' "$WORK/stderr")"
done

# Drags as sway, KWin and labwc report them: each orders a frame's events its own way and measures
# a held pointer against another place. Every drag ends at the pointer's travel: two slow steps,
# 20 quick drags, a drag held at the output's edge and back. Then a press whose surface goes with
# its output: the bar is back at once on the other output, the release never comes, and the next
# drag still follows the pointer, as does one with a seat that went and came back.
send() { printf '%b\n' "$@" >&7; }
bar_margin() { grep '^margin .* 126$' "$WORK/rogue" | tail -1 | cut -d' ' -f2,3; }
margin_is() { [ "$(bar_margin)" = "$1" ]; }
for style in sway kwin labwc; do
  rm -f "$WORK/seat" && mkfifo "$WORK/seat"
  "$GARVO_TOOLS/wl_rogue" rogue "seat=$style" <"$WORK/seat" >"$WORK/rogue" &
  ROGUE_PID=$!
  OTHER_PIDS+=("$ROGUE_PID")
  exec 7>"$WORK/seat"
  wait_until 3000 grep -q ready "$WORK/rogue" || fail "wl_rogue seat=$style did not start"
  send plug
  run_garvo '[SETTING]\r\nx=200\r\ny=100\r\ns=60\r\n'
  wait_until 3000 grep -q '^buffer$' "$WORK/rogue" || fail "$style: no bar"
  send "by 260 103"
  sleep 0.3
  send down && sleep 0.2 && send "by 10 0" && sleep 0.2 && send "by 10 0" && sleep 0.2 && send up
  wait_until 1000 margin_is "100 220" ||
    fail "$style: two slow steps of +10,0 left the bar at $(bar_margin) (top left), want 100 220"
  landed=0
  for i in $(seq 20); do
    d=1 && [ $((i % 2)) = 0 ] && d=-1
    send down "by $((10 * d)) $((2 * d))" "by $((10 * d)) $((3 * d))" \
      "by $((10 * d)) $((2 * d))" "by $((10 * d)) $((3 * d))" up
    want="$((d > 0 ? 110 : 100)) $((d > 0 ? 260 : 220))"
    wait_until 1000 margin_is "$want" && landed=$((landed + 1))
    sleep 0.1 # a margin is said before its commit, which the next press must find
  done
  [ "$landed" = 20 ] || fail "$style: $landed of 20 quick drags of +40,+10 landed"
  # Grip 60,3: the pointer stops at column 0, and comes back 100.
  send down "by -600 0" "by 100 0" up
  wait_until 1000 margin_is "100 40" ||
    fail "$style: held at the edge and back 100, the bar is at $(bar_margin), want 100 40"
  send down && sleep 0.2 && send unplug
  wait_until 1000 eval "sed -n '/^unplugged/,\$p' '$WORK/rogue' | grep -q '^margin 100 40 126$'" ||
    fail "$style: the bar is not back at once after its output went"
  send up && sleep 0.2 && send "by 5 0" && sleep 0.2
  send down "by 40 10" up
  wait_until 1000 margin_is "110 80" ||
    fail "$style: after a release that never came, a drag of +40,+10 left the bar at $(bar_margin), want 110 80"
  # The seat goes and a new one comes: its pointer drags.
  send reseat && sleep 0.3 && send "by 1 0" && sleep 0.2
  send down "by 40 10" up
  wait_until 1000 margin_is "120 120" ||
    fail "$style: with a new seat, a drag of +40,+10 left the bar at $(bar_margin), want 120 120"
  kill -TERM "$GARVO_PID"
  wait_garvo_ok
  expect_settings 120 120 60
  exec 7>&-
  stop_rogue
  pass "$style: slow, quick and edge drags at the pointer's travel; back at once on a new output; a lost release; a new seat"
done

rogue no-shm
run_garvo '; mine\r\n'
wait_garvo
[ "$GARVO_STATUS" = 1 ] && grep -q 'offers no wl_shm' "$WORK/stderr" ||
  fail "without wl_shm: status $GARVO_STATUS, it said: $(cat "$WORK/stderr")"
stop_rogue
pass "no wl_shm: $(cat "$WORK/stderr")"
