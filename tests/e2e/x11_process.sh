# The native gauge as a process: it runs below normal priority; SIGINT and SIGHUP save as a logout
# does, and so does the X server going away; with no display to use, or one that fails while it
# starts, one clear line and status 1, and the file left as it was; an ending signal ends it even
# then, or when its parent had blocked it, or when the server stops answering, and a hang-up it
# was told to ignore it ignores; an alarm it did not set ends nothing; started with its standard
# files closed, it opens them onto /dev/null.
source "$(dirname "$0")/lib.sh"

for signal in INT HUP; do
  start_garvo '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n'
  nice=$(ps -o ni= -p "$GARVO_PID" | tr -d ' ')
  want=$(($(nice) > 10 ? $(nice) : 10))
  [ "$nice" = "$want" ] || fail "runs at nice $nice, want $want: at least 10, never less nice than its shell"
  drag 210 302 310 402
  wait_until 2000 bar_at 300 400 || fail "bar at $(bar_position) after the drag, want 300 400"
  kill -"$signal" "$GARVO_PID"
  wait_garvo_ok "after SIG$signal"
  expect_settings 300 400 75
  pass "SIG$signal saves the dragged position"
done

# An alarm that no ending signal started ends nothing: one left pending across exec by the
# launcher, and a stray SIGALRM.
printf '%b' '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n' >"$WORK/garvo.ini"
(cd "$WORK" && exec perl -e 'alarm 1; exec @ARGV or die' "$GARVO_EXE") &
GARVO_PID=$!
wait_until 5000 bar_shown || fail "no bar when started with an alarm pending"
sleep 1
kill -ALRM "$GARVO_PID"
sleep 1
kill -0 "$GARVO_PID" 2>/dev/null || fail "an alarm it did not set ended it"
kill -TERM "$GARVO_PID"
wait_garvo_ok "after alarms and SIGTERM"
pass "an alarm left pending, or sent, ends nothing"

# Started with its standard files closed, as some launchers start programs: they lead nowhere, so
# that no line meant for standard error goes into the display's connection.
printf '%b' '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n' >"$WORK/garvo.ini"
(cd "$WORK" && exec "$GARVO_EXE" <&- >&- 2>&-) &
GARVO_PID=$!
wait_until 5000 bar_shown || fail "no bar when started with its standard files closed"
for fd in 0 1 2; do
  [ "$(readlink "/proc/$GARVO_PID/fd/$fd")" = /dev/null ] ||
    fail "started with fd $fd closed, it leads to $(readlink "/proc/$GARVO_PID/fd/$fd")"
done
drag 210 302 310 352
wait_until 2000 bar_at 300 350 || fail "bar at $(bar_position) after a drag, started with its files closed"
kill -TERM "$GARVO_PID"
wait_garvo_ok "started with its standard files closed"
pass "started with its standard files closed, they lead to /dev/null and the gauge works"

# A parent that blocked SIGTERM, and one that asked for hang-ups to be ignored.
start_garvo '[SETTING]\r\nx=5000\r\ny=300\r\ns=75\r\n'
kill "$GARVO_PID"
wait_garvo
(cd "$WORK" && exec "$GARVO_TOOLS/start_blocked" "$GARVO_EXE") &
GARVO_PID=$!
wait_until 5000 bar_shown || fail "no bar when started with SIGTERM blocked"
kill -TERM "$GARVO_PID"
wait_garvo_ok "after SIGTERM, blocked by its parent"
expect_settings 897 300 75
pass "SIGTERM saves even when the parent had it blocked"

(cd "$WORK" && exec nohup "$GARVO_EXE" >/dev/null 2>&1) &
GARVO_PID=$!
wait_until 5000 bar_shown || fail "no bar under nohup"
kill -HUP "$GARVO_PID"
sleep 1
kill -0 "$GARVO_PID" || fail "ended on a hang-up that nohup had it ignore"
kill -TERM "$GARVO_PID"
wait_garvo
pass "under nohup a hang-up is ignored"

# X servers that fail while garvo starts: it ends, and the file stays as it was.
before='[SETTING]\r\nx=200\r\ny=300\r\ns=64\r\n'
proxy drop-at-randr
printf '%b' "$before" >"$WORK/garvo.ini"
status=0
(cd "$WORK" && DISPLAY=$fake exec "$GARVO_EXE") 2>"$WORK/stderr" || status=$?
[ "$status" = 1 ] || fail "exit status $status when the display went away while it started, want 1"
[ "$(wc -l <"$WORK/stderr")" = 1 ] || fail "it said: $(cat "$WORK/stderr")"
[ "$(settings_file)" = "$(printf '%b' "$before")" ] || fail "the settings file became: $(settings_file)"
pass "a display lost at start-up leaves the file as it was: $(cat "$WORK/stderr")"

proxy silent
(cd "$WORK" && DISPLAY=$fake exec "$GARVO_EXE") &
GARVO_PID=$!
sleep 1
kill -TERM "$GARVO_PID"
wait_garvo
[ "$(settings_file)" = "$(printf '%b' "$before")" ] || fail "the settings file became: $(settings_file)"
pass "SIGTERM ends it while a display that never answers holds it up"

# A server with RandR 1.4 has no monitors to tell: the screen serves.
proxy randr-1.4
(cd "$WORK" && DISPLAY=$fake exec "$GARVO_EXE") &
GARVO_PID=$!
wait_until 5000 bar_at 200 300 || fail "no bar at 200 300 on a server with RandR 1.4"
right_click 210 302
wait_garvo_ok "on a server with RandR 1.4"
expect_settings 200 300 64
pass "runs and saves on a server with RandR 1.4"

# A logout as the gauge starts, as a session manager may end what it has just started: the bar's
# place on the screen is saved, and the run ends with success.
proxy term-at-start
printf '%b' '[SETTING]\r\nx=5000\r\ny=300\r\ns=64\r\n' >"$WORK/garvo.ini"
status=0
(cd "$WORK" && DISPLAY=$fake exec timeout -s KILL 10 "$GARVO_EXE") || status=$?
[ "$status" = 0 ] || fail "exit status $status after SIGTERM at its first request"
expect_settings 897 300 64
pass "SIGTERM at its first request saves the bar's place on the screen"

# A display of its own, to stop and to take away while garvo runs on it.
shared_display=$DISPLAY
new_display 150
start_garvo '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n'
# The server stops answering while the box is shown, so that the next hover check waits on it:
# SIGTERM ends the run all the same, saved, in a few seconds.
double_click 263 302 # client x 63
wait_until 2000 info_viewable || fail "no info window after the double-click"
kill -STOP "$SERVER_PID"
sleep 1
kill -TERM "$GARVO_PID"
wait_garvo
kill -CONT "$SERVER_PID"
[ "$GARVO_STATUS" = 0 ] || fail "exit status $GARVO_STATUS after SIGTERM, the server stopped"
expect_settings 200 300 50
pass "SIGTERM saves and ends while the server does not answer"

start_garvo '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n'
double_click 233 302 # client x 33
wait_until 2000 info_viewable || fail "no info window after the double-click"
kill "$SERVER_PID"
wait_garvo
export DISPLAY=$shared_display
[ "$GARVO_STATUS" = 0 ] || fail "exit status $GARVO_STATUS when the display went away"
expect_settings 200 300 25
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

# No descriptor to spare for the font helper at the first hover (the user's limit, reached for a
# moment): the box shows its frame, one line says why, and the first hover once the limit is
# lifted has the text.
printf '%b' '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n' >"$WORK/garvo.ini"
xdotool mousemove 700 700
(cd "$WORK" && exec "$GARVO_EXE" 2>"$WORK/stderr") &
GARVO_PID=$!
wait_until 5000 bar_shown || fail "no bar"
free=0
while [ -e "/proc/$GARVO_PID/fd/$free" ]; do free=$((free + 1)); done
prlimit --pid "$GARVO_PID" --nofile="$free":
xdotool mousemove 250 302
wait_until 3000 info_viewable || fail "no box with no descriptor to spare"
sleep 0.5
[ "$(pixels 118 16 204 280 | grep -vc '#FFFFFF')" = 0 ] || fail "with no descriptor to spare the box shows text"
prlimit --pid "$GARVO_PID" --nofile=1024:
xdotool mousemove 700 700
wait_until 2000 info_hidden || fail "the box stays"
xdotool mousemove 250 302
wait_until 3000 eval '[ "$(pixels 118 16 204 280 | grep -vc "#FFFFFF")" -gt 20 ]' ||
  fail "the limit lifted, the box still shows no text"
kill -TERM "$GARVO_PID"
wait_garvo_ok
[ "$(grep -c 'cannot start the font helper' "$WORK/stderr")" = 1 ] || fail "it said: $(cat "$WORK/stderr")"
pass "a font helper that could not start is started at the next hover: $(cat "$WORK/stderr")"

# Started nicer than 10, it stays that nice, though as root it could make itself less so.
new_display 180
printf '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n' >"$WORK/garvo.ini"
(cd "$WORK" && exec nice -n 19 "$GARVO_EXE") &
GARVO_PID=$!
wait_until 5000 bar_shown || fail "no bar when started at nice 19"
[ "$(ps -o ni= -p "$GARVO_PID" | tr -d ' ')" = 19 ] || fail "started at nice 19, runs at $(ps -o ni= -p "$GARVO_PID")"
kill "$GARVO_PID"
wait_garvo_ok
pass "started at nice 19, it stays at 19"

# A font folder that holds a FIFO, where fontconfig would wait for ever: the bar comes at once, the
# box within the text helper's bound with its frame alone, its text once the font can be had and
# ten seconds have passed, and after SIGTERM nothing of garvo is left on the screen or among the
# processes.
mkdir "$WORK/fonts"
mkfifo "$WORK/fonts/stuck.ttf"
printf '<?xml version="1.0"?>\n<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>\n' \
  "$WORK/fonts" "$WORK/font-cache" >"$WORK/fonts.conf"
export FONTCONFIG_FILE=$WORK/fonts.conf
start_garvo '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n'
xdotool mousemove 250 302
hovered=$(now_ms)
wait_until 4000 info_viewable || fail "no box within the helper's bound"
took=$(($(now_ms) - hovered))
[ "$took" -ge 1500 ] || fail "the box came in $took ms: the FIFO held nothing up, so this tests nothing"
wait_until 1000 eval '[ -z "$(pgrep -P "$GARVO_PID")" ]' || fail "the helper outlived its bound: $(pgrep -a -P "$GARVO_PID")"
[ "$(pixels 118 16 204 280 | grep -vc '#FFFFFF')" = 0 ] || fail "the box shows something but its frame"
bar_intact 93 || fail "the bar is not whole"
# The font that failed is tried again at the next change of scale, not at the next hover.
xdotool mousemove 700 700
wait_until 2000 info_hidden || fail "the box stays"
xdotool mousemove 260 302
hovered=$(now_ms)
wait_until 4000 info_viewable || fail "no box at the second hover"
again=$(($(now_ms) - hovered))
[ "$again" -lt 1000 ] || fail "the second hover took $again ms: the helper was waited for again"
# Ten seconds after the lookup that did not answer, the font folder sound again: the next hover
# tries again, and the box has its text.
rm "$WORK/fonts/stuck.ttf"
cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$WORK/fonts/"
xdotool mousemove 700 700
wait_until 2000 info_hidden || fail "the box stays"
while [ $(($(now_ms) - hovered)) -lt 10500 ]; do sleep 0.2; done
xdotool mousemove 250 302
wait_until 4000 info_viewable || fail "no box at the hover after the pause"
wait_until 3000 eval '[ "$(pixels 118 16 204 280 | grep -vc "#FFFFFF")" -gt 20 ]' ||
  fail "ten seconds on, with a font to be had, the box still shows no text"
kill -TERM "$GARVO_PID"
pid=$GARVO_PID
wait_garvo_ok "after SIGTERM"
[ -z "$(garvo_windows)" ] || fail "garvo's windows outlived it: $(garvo_windows)"
[ -z "$(pgrep -x garvo)" ] || fail "processes of garvo's remain: $(pgrep -a -x garvo)"
unset FONTCONFIG_FILE
pass "a FIFO in a font folder: the box came in $took ms with its frame alone, then in $again ms; SIGTERM left nothing"
