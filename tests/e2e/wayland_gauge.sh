# The Wayland front end where only it can be tested: two outputs side by side, the second at scale
# 2 (headless sway 1.7 has no fractional scale, so the output's whole scale serves), outputs that
# change, the compositor going away, and the choice of front end at start, where the display not
# chosen leaves none of its libraries mapped.
GARVO_OUTPUTS="HEADLESS-1 mode 1024x768 position 0 0
HEADLESS-2 mode 1600x1200 position 1024 0 scale 2"
source "$(dirname "$0")/lib.sh"

# One output's frames in its device pixels: "x y" of each of that size and line width.
frames_on() { grim -o "$1" -t ppm - | "$GARVO_TOOLS/screen_reader" frames "${@:2}"; }
# The bar's place in the global logical space, whichever output it is on. Headless sway 1.7 leaves
# a moved layer surface's old picture on a scaled output, so the output is first drawn anew whole.
bar_position() {
  local at
  swaymsg output HEADLESS-2 scale 2 >/dev/null
  at=$(frames_on HEADLESS-1 126 6 1 | head -1)
  [ -n "$at" ] && echo "$at" && return
  at=$(frames_on HEADLESS-2 252 12 2 | head -1)
  [ -n "$at" ] && echo "$((1024 + ${at% *} / 2)) $((${at#* } / 2))"
}

# Saved on the second output: it starts there, twice as dense, and comes back there after a close.
# Each surface's picture is drawn at scale 2 before it shows, not once at 1 first: a buffer pool
# for the bar, and one for the box at each hover.
WAYLAND_DEBUG=1 start_garvo '[SETTING]\r\nx=1100\r\ny=100\r\ns=60\r\n' 2>"$WORK/protocol"
wait_until 3000 bar_at 1100 100 ||
  fail "no 252 x 12 bar at 152 200 on the second output: $(frames_on HEADLESS-2 252 12 2)"
pointer move 1150 102
wait_until 2000 eval '[ "$(frames_on HEADLESS-2 252 48 2 | head -1)" = "152 152" ]' ||
  fail "no 252 x 48 box just above the bar: $(frames_on HEADLESS-2 252 48 2)"
grim -g "1100,76 126x24" "$WORK/large.png"
convert "$WORK/large.png" -sample 50% -sample 200% "$WORK/magnified.png"
differ=$(compare -metric AE "$WORK/large.png" "$WORK/magnified.png" null: 2>&1 || true)
[ "$differ" -gt 100 ] || fail "the box at scale 2 is a magnification ($differ pixels differ)"
pass "on the second output at scale 2: the bar 252 x 12 device pixels, the box drawn at that scale"
! grep -q libxcb "/proc/$GARVO_PID/maps" || fail "on Wayland it has XCB mapped"
for _ in 1 2; do
  pointer move 1300 600
  wait_until 3000 eval '[ -z "$(frames_on HEADLESS-2 252 48 2)" ]' || fail "the box stays"
  pointer move 1150 103
  wait_until 2000 eval '[ -n "$(frames_on HEADLESS-2 252 48 2)" ]' || fail "no box at a later hover"
done
pools=$(grep -c 'wl_shm@[0-9]*\.create_pool' "$WORK/protocol" || true)
[ "$pools" -le 4 ] || fail "the bar and three hovers of the box made $pools buffer pools"

drag 1150 102 1250 202
wait_until 2000 bar_at 1200 200 || fail "after the drag, the bar is at $(bar_position)"
right_click 1260 202
wait_garvo_ok
expect_settings 1200 200 60
pass "dragged on the second output, saved in the global space: 1200 200"

cp "$WORK/garvo.ini" "$WORK/kept"
start_garvo "$(sed 's/\r/\\r/g' "$WORK/kept" | tr '\n' ' ' | sed 's/ /\\n/g')"
wait_until 3000 bar_at 1200 200 || fail "not back on the second output after a restart"
# A drag that ends over the first output takes the bar there.
drag 1210 202 1000 302
wait_until 2000 bar_at 897 300 || fail "dragged onto the first output, the bar is at $(bar_position)"
pass "back on the second output after a restart; a drag onto the first output takes it there"

# Dragged back onto the second output, which then goes from under it (sway 1.7 neither unplugs a
# headless output nor tells clients of one switched off, but moves one): the bar comes onto the
# nearest output, as at start.
drag 900 302 1110 302
wait_until 2000 bar_at 1107 300 || fail "not back on the second output: $(bar_position)"
swaymsg output HEADLESS-2 position 1024 700 >/dev/null
wait_until 3000 bar_at 897 300 || fail "the second output gone, the bar is at $(bar_position)"
end_session
wait_garvo_ok
expect_settings 897 300 60
pass "the output under the bar goes away: it comes onto the nearest one"
swaymsg output HEADLESS-2 position 1024 0 >/dev/null # where the pointer's moves expect it

# The seat's only mouse unplugged and another plugged in: the new pointer hovers and clicks.
start_garvo '[SETTING]\r\nx=200\r\ny=300\r\ns=60\r\n'
plug_pointer
wait_until 3000 eval 'pointer move 250 302; pointer move 251 302; [ -n "$(frames_on HEADLESS-1 126 24 1)" ]' ||
  fail "no box at a hover with the pointer that came back"
right_click 250 302
wait_garvo_ok "right-clicked with the pointer that came back"
pass "a pointer that goes and comes back hovers and right-clicks"

# The compositor going away, as at a logout, saves as a right-click on the bar would.
start_garvo '[SETTING]\r\nx=200\r\ny=300\r\ns=60\r\n'
drag 210 302 310 402
wait_until 2000 bar_at 300 400 || fail "bar at $(bar_position) after the drag, want 300 400"
pkill -u garvo-e2e -x sway
wait_garvo_ok "when the compositor went away"
expect_settings 300 400 60
pass "the compositor going away saves the dragged position"

# Started while the compositor has no output: nothing is shown and the saved place is kept; the
# output that comes shows the bar there, and a logout saves that place, not 0 0.
GARVO_OUTPUTS=none start_compositor
printf '[SETTING]\r\nx=300\r\ny=200\r\ns=60\r\n' >"$WORK/garvo.ini"
(cd "$WORK" && exec "$GARVO_EXE") &
GARVO_PID=$!
sleep 1
kill -0 "$GARVO_PID" || fail "with no output, the gauge ended"
swaymsg create_output >/dev/null
swaymsg output HEADLESS-1 mode 1024x768 position 0 0 >/dev/null
wait_until 3000 bar_at 300 200 || fail "the output came, the bar is at '$(bar_position)', want 300 200"
end_session
wait_garvo_ok
expect_settings 300 200 60
pass "started with no output: the bar comes with the output, at its saved place"

# The front end chosen: forced, a socket that is not there, a compositor without a layer shell,
# neither; a bad choice is a usage error. On X11 no Wayland library stays mapped.
# "x11" for a gauge that runs with its windows on the X display, else its exit status.
choose() { # what is wanted, then the environment
  local want=$1 status
  shift
  printf '%b' '; mine\r\n' >"$WORK/garvo.ini"
  (cd "$WORK" && exec env "$@" "$GARVO_EXE") 2>"$WORK/stderr" &
  GARVO_PID=$!
  if wait_until 3000 eval 'xwininfo -root -tree | grep -q "\"garvow\""'; then
    status=x11
    # Whatever Wayland it tried, it keeps none of Wayland's library on X11.
    ! grep -q libwayland-client "/proc/$GARVO_PID/maps" ||
      fail "with $*: it runs on X11 with libwayland-client mapped"
    kill "$GARVO_PID"
    wait "$GARVO_PID" 2>/dev/null || true
  else
    status=0
    wait "$GARVO_PID" 2>/dev/null || status=$?
    [ "$(wc -l <"$WORK/stderr")" = 1 ] || fail "with $*: it said: $(cat "$WORK/stderr")"
  fi
  GARVO_PID=
  [ "$status" = "$want" ] || fail "with $*: $status, want $want; it said: $(cat "$WORK/stderr")"
}
new_display 170
"$GARVO_TOOLS/wl_rogue" plain plain >"$WORK/plain" &
OTHER_PIDS+=($!)
wait_until 3000 grep -q ready "$WORK/plain" || fail "no compositor without a layer shell"
choose x11 GARVO_BACKEND=x11
choose x11 WAYLAND_DISPLAY=nothing-here
choose x11 WAYLAND_DISPLAY=plain
choose 1 GARVO_BACKEND=wayland WAYLAND_DISPLAY=plain
grep -q 'no layer shell' "$WORK/stderr" || fail "forced onto a compositor without a layer shell: $(cat "$WORK/stderr")"
choose 1 GARVO_BACKEND=wayland WAYLAND_DISPLAY=nothing-here
choose 1 WAYLAND_DISPLAY=nothing-here DISPLAY=:4093
grep -q 'Wayland:.*X11:' "$WORK/stderr" || fail "neither: it said $(cat "$WORK/stderr")"
choose 2 GARVO_BACKEND=wayland-please
[ "$(cat "$WORK/garvo.ini")" = "$(printf '; mine\r\n')" ] || fail "the settings file changed"
pass "forced or fallen back to, X11 runs; a forced, missing or shell-less Wayland without X11 is one line and 1"
