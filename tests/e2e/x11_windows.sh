# The native gauge among other windows, with no window manager: it goes back above an ordinary
# window raised over it, leaves a menu above it, gives way to a window that always takes the top
# back rather than trade places with it, and shows itself again when uncovered, though it draws
# only what changes. Then drags whose release goes astray or comes amid queued movements, a
# right button released over the bar but pressed elsewhere, and a bar another program moves.
source "$(dirname "$0")/lib.sh"

start_garvo '[SETTING]\r\nx=300\r\ny=300\r\ns=75\r\n'
window_id() { xdotool search --name "^$1\$" | head -1; }

xmessage -geometry 200x60+280+280 "over the bar" &
OTHER_PIDS+=($!)
wait_until 5000 eval '[ -n "$(window_id xmessage)" ]' || fail "no other window"
other=$(window_id xmessage)
wait_until 1500 bar_intact || fail "the bar stays under a window mapped over it"
xdotool windowraise "$other"
wait_until 1500 bar_intact || fail "the bar stays under a window raised over it"
pass "back above an ordinary window mapped or raised over it"

# A menu opens over the bar's middle; then the other window, below the bar, moves: the menu stays
# on top, and the bar where it is.
"$GARVO_TOOLS/x_windows" menu 340 295 40 20 >"$WORK/menu" &
menu=$!
OTHER_PIDS+=($menu)
wait_until 5000 grep -q shown "$WORK/menu" || fail "no menu"
xdotool windowmove "$other" 281 281
menu_above() {
  capture_bar
  [ "$(bar_pixel 45 2)" = "#00FF00" ] && [ "$(bar_pixel 75 2)" = "#00FF00" ] &&
    [ "$(bar_pixel 0 0)" = "#000000" ] && [ "$(bar_pixel 93 3)" = "#000000" ]
}
sleep 1
menu_above || fail "the menu is not above the bar: $(bar_pixel 45 2)"
pass "a menu stays above it while it goes back above an ordinary window"

# The menu closes: the bar, unchanged since, is shown again from the server's exposure.
kill "$menu"
wait_until 1000 bar_intact || fail "the bar is not whole after the menu closed: $(bar_pixel 45 2)"
pass "the bar heals where a menu covered it"

# A window that raises itself whenever another is restacked: garvo gives way, and both settle.
xdotool windowkill "$other"
"$GARVO_TOOLS/x_windows" raiser 250 290 100 30 >"$WORK/raiser" &
OTHER_PIDS+=($!)
wait_until 5000 grep -q shown "$WORK/raiser" || fail "no self-raising window"
sleep 3
settled=$(grep -c raised "$WORK/raiser" || true)
sleep 3
[ "$(grep -c raised "$WORK/raiser" || true)" = "$settled" ] ||
  fail "still trading places: $settled raises, then $(grep -c raised "$WORK/raiser")"
pass "settles against a window that keeps itself on top ($settled raises)"
kill "${OTHER_PIDS[-1]}"

# The load rises: the bar follows within a second.
fill_before=$(fill_columns)
hold_load 5
wait_until 1000 eval '[ "$(fill_columns)" -gt "$fill_before" ]' ||
  fail "the fill did not follow the load: $fill_before columns, then $(fill_columns)"
pass "the fill follows the load: $fill_before columns, then $(fill_columns)"

# Movements queued behind the release do not move the bar on.
xdotool mousemove 310 302 mousedown 1 mousemove 330 322 mousemove 350 342 mouseup 1 \
  mousemove 600 600 mousemove 620 620
wait_until 2000 bar_at 340 340 || fail "bar at $(bar_position) after a quick drag, want 340 340"
sleep 0.5
bar_at 340 340 || fail "the bar moved on after the release, to $(bar_position)"
pass "a drag ends at its release"

# A drag of the box whose window goes away under the pointer: the release goes astray, and the
# next movement over the bar must not move the box.
xdotool mousemove 360 342
wait_until 2000 info_viewable || fail "no box over the bar"
box=$(info_line | cut -d'|' -f1)
where=$(info_position)
xdotool mousemove 360 330 mousedown 1
sleep 0.2
xdotool windowunmap "$box"
sleep 0.2
xdotool mouseup 1 mousemove 365 343
sleep 0.3
xdotool mousemove 370 343
sleep 0.5
geometry() { xwininfo -id "$box" | awk '/Absolute upper-left [XY]/ { printf "%s ", $4 }'; }
[ "$(geometry)" = "${where% *} ${where#* } " ] || fail "the box followed the pointer to $(geometry)"
pass "a drag whose release went astray ends at the next movement"

# A right press away from garvo and its release over the bar make no click: with no window
# manager, the press grabbed nothing.
xdotool mousemove 600 600 mousedown 3 mousemove 360 342 mouseup 3
sleep 0.5
kill -0 "$GARVO_PID" 2>/dev/null || fail "a right release over the bar, pressed elsewhere, closed it"
pass "a right release over the bar without its press is no click"

# Another program moves the bar: a drag from there takes it on by the pointer's travel, and it is
# saved where it stands.
bar=$(garvo_windows | awk -F'|' '$2 ~ /^126 6 / { split($1, n, " "); print n[1] }')
xdotool windowmove "$bar" 500 500
wait_until 1000 bar_at 500 500 || fail "the bar is at $(bar_position), not where it was moved"
drag 510 502 610 552
wait_until 2000 bar_at 600 550 || fail "bar at $(bar_position) after a drag from 500 500, want 600 550"
xdotool windowmove "$bar" 200 100
wait_until 1000 bar_at 200 100 || fail "the bar is at $(bar_position), not where it was moved"
# Resized by another program, it takes its own size back.
xdotool windowsize "$bar" 300 40
sleep 0.5
bar_at 200 100 || fail "resized to 300 x 40 by another program, garvo's windows are: $(garvo_windows)"
right_click 210 102
wait_garvo_ok
expect_settings 200 100 75
pass "a bar moved by another program is dragged on from there, and saved where it stands; one resized takes its size back"
