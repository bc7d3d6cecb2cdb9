# The native gauge on two monitors side by side (Xwayland in a headless Wayland compositor, which
# runs only as an ordinary user): a bar saved on the second monitor starts there; one saved past
# its edge, or below the shorter one, comes back onto the monitor nearest to it, and so does one
# whose monitor goes from under it while it runs.
source "$(dirname "$0")/lib.sh"

user=garvo-e2e
ordinary_user "$user"
runtime=$WORK/runtime
mkdir -m 700 "$runtime"
chown "$user" "$runtime"
cat >"$WORK/sway.conf" <<'EOF'
xwayland enable
output HEADLESS-1 mode 1024x768 position 0 0
output HEADLESS-2 mode 800x600 position 1024 0
EOF
sockets() { ls /tmp/.X11-unix 2>/dev/null | sort; }
was=$(sockets)
exec_as_user "$user" env -i PATH=/usr/bin:/bin HOME="$WORK" XDG_RUNTIME_DIR="$runtime" \
  WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  sway -c "$WORK/sway.conf" >"$WORK/sway.log" 2>&1 &
OTHER_PIDS+=($!)
new_socket() { comm -13 <(echo "$was") <(sockets) | grep -q '^X'; }
wait_until 10000 new_socket || fail "sway made no X display: $(tail -3 "$WORK/sway.log")"
export DISPLAY=:$(comm -13 <(echo "$was") <(sockets) | sed -n 's/^X//p' | head -1)
# Xwayland starts at the first client; that client lets root's in.
wait_until 10000 as_user "$user" env DISPLAY="$DISPLAY" xhost +SI:localuser:root >/dev/null 2>&1 ||
  fail "no Xwayland on $DISPLAY"
xrandr --output XWAYLAND1 --primary
[ "$(xrandr --listmonitors | sed -n 's/^ [0-9]: +\*\([^ ]*\) .*/\1/p')" = XWAYLAND1 ] ||
  fail "the monitors are: $(xrandr --listmonitors)"

# Saved position, then where the bar must start: the second monitor is 800 x 600 at 1024, 0.
for row in "1100 100 1100 100" "5000 100 1697 100" "1030 700 897 700" "1700 610 1697 593"; do
  set -- $row
  start_garvo "[SETTING]\\r\\nx=$1\\r\\ny=$2\\r\\ns=75\\r\\n"
  wait_until 2000 bar_at "$3" "$4" || fail "saved at $1 $2, the bar is at $(bar_position), want $3 $4"
  kill "$GARVO_PID"
  wait_garvo
  pass "saved at $1 $2, it starts at $3 $4"
done

# The second monitor goes from under the bar while it runs (headless sway 1.7 unplugs nothing,
# but moves an output away): the bar comes onto the nearest monitor, as at start.
start_garvo '[SETTING]\r\nx=1100\r\ny=100\r\ns=75\r\n'
wait_until 2000 bar_at 1100 100 || fail "the bar is at $(bar_position), want 1100 100"
as_user "$user" env XDG_RUNTIME_DIR="$runtime" SWAYSOCK="$(ls "$runtime"/sway-ipc.*.sock)" \
  swaymsg output HEADLESS-2 position 1024 700 >/dev/null || fail "sway did not move its second output"
wait_until 3000 bar_at 897 100 || fail "with the second monitor gone, the bar is at $(bar_position)"
end_session
wait_garvo_ok
expect_settings 897 100 75
pass "the monitor under the bar goes away: it comes onto the nearest one, and saves there"
