# The settings file as an ordinary user finds it (root can write any file and keep any owner): a
# file of the user's whose group the user is not in, and one in a directory that takes no new
# file, get the new position with every other byte kept; a configuration directory that the user
# cannot make leaves everything as it was.
source "$(dirname "$0")/lib.sh"

user=garvo-e2e
ordinary_user "$user"
ordinary_user garvo-e2e-other
before='; kept\r\n[SETTING]\r\nx=5000\r\ny=300\r\ns=64\r\n[other]\r\nk=v\r\n'
after='; kept\r\n[SETTING]\r\nx=897\r\ny=300\r\ns=64\r\n[other]\r\nk=v\r\n'

# Runs the gauge as the user in a directory until its bar shows, then ends the session; the bar,
# clamped onto the screen, stands elsewhere than the file says, so there is a change to save.
run_as_user() {
  (cd "$1" && exec_as_user "$user" env HOME="$WORK/locked" XDG_CONFIG_HOME="$WORK/locked/config" "$USER_GAUGE") &
  GARVO_PID=$!
  wait_until 5000 bar_shown || fail "no bar in $1"
  end_session
  wait_garvo_ok "in $1"
}
mkdir -m 755 "$WORK/locked"

# The user's file, in the user's directory, of a group the user is not in.
mkdir -m 755 "$WORK/own"
printf '%b' "$before" >"$WORK/own/garvo.ini"
chown "$user" "$WORK/own"
chown "$user:garvo-e2e-other" "$WORK/own/garvo.ini"
chmod 664 "$WORK/own/garvo.ini"
run_as_user "$WORK/own"
[ "$(cat "$WORK/own/garvo.ini")" = "$(printf '%b' "$after")" ] ||
  fail "the file of a foreign group holds: $(tr '\r\n' ' ' <"$WORK/own/garvo.ini")"
[ "$(stat -c %U:%G:%a "$WORK/own/garvo.ini")" = "$user:garvo-e2e-other:664" ] ||
  fail "owner, group or mode changed: $(stat -c %U:%G:%a "$WORK/own/garvo.ini")"
pass "a file of a group the user is not in gets the new position, all else kept"

# The user's file in a directory that is not the user's.
mkdir -m 755 "$WORK/shared"
printf '%b' "$before" >"$WORK/shared/garvo.ini"
chown "$user" "$WORK/shared/garvo.ini"
run_as_user "$WORK/shared"
[ "$(cat "$WORK/shared/garvo.ini")" = "$(printf "%b" "$after")" ] ||
  fail "the file in a directory that takes no new file holds: $(tr '\r\n' ' ' <"$WORK/shared/garvo.ini")"
[ "$(ls -A "$WORK/shared")" = garvo.ini ] || fail "left beside it: $(ls -A "$WORK/shared")"
pass "a file in a directory that takes no new file gets the new position, all else kept"

# No file here, and a configuration directory that cannot be made: it runs and ends as ever.
mkdir -m 755 "$WORK/empty"
listing() { find "$WORK" -printf '%p %u %m %s %T@\n' | sort; }
was=$(listing)
run_as_user "$WORK/empty"
[ "$(listing)" = "$was" ] || fail "something changed: $(diff <(echo "$was") <(listing))"
pass "a configuration directory that cannot be made: it runs and quits, and nothing changes"
