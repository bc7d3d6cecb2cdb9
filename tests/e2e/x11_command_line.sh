# The native gauge's command line: --version and --help answer and exit 0, anything else is a
# usage error (status 2); none of them touches a settings file. With no argument it runs, and
# saves to the configuration directory when the current one has no garvo.ini.
source "$(dirname "$0")/lib.sh"

export HOME=$WORK/home
mkdir -p "$HOME"
printf '[SETTING]\r\nx=1\r\n' >"$WORK/garvo.ini"
tree() { find "$WORK" -mindepth 1 ! -name out ! -name err -printf '%p %m %s %T@\n' | sort; }
before=$(tree)
version=$(awk '/^project\(garvo VERSION/ { print $3 }' "$(dirname "$0")/../../CMakeLists.txt")

# Arguments, exit status, what standard output and standard error must say (patterns).
row() {
  local status=0 out err
  (cd "$WORK" && exec "$GARVO_EXE" "${@:4}") >"$WORK/out" 2>"$WORK/err" || status=$?
  out=$(cat "$WORK/out")
  err=$(cat "$WORK/err")
  [ "$status" = "$1" ] || fail "garvo ${*:4}: exit status $status, want $1"
  [[ $out =~ $2 ]] || fail "garvo ${*:4} printed: $out"
  [[ $err =~ $3 ]] || fail "garvo ${*:4} said on standard error: $err"
  [ "$(tree)" = "$before" ] || fail "garvo ${*:4} touched a file: $(diff <(echo "$before") <(tree))"
  pass "garvo ${*:4}: status $status"
}
row 0 "^garvo $version \\(Wayland, X11\\) from commit [0-9a-f]{12}(\\+changes)?\$" "^\$" --version
row 0 "^Usage: garvo .*right-click.*GARVO_BACKEND=wayland.*XDG_CONFIG_HOME/garvo/garvo.ini.*This run's: ./garvo.ini\$" "^\$" --help
row 2 "^\$" "^Usage: garvo " --verbose
row 2 "^\$" "^Usage: garvo " --help extra
row 2 "^\$" "^Usage: garvo " ""

# No argument: the gauge, saving where --help said it would.
rm "$WORK/garvo.ini"
[[ $(cd "$WORK" && "$GARVO_EXE" --help) == *"This run's: $XDG_CONFIG_HOME/garvo/garvo.ini" ]] ||
  fail "--help names another file"
start_garvo ""
right_click 60 3
wait_garvo_ok
[ ! -e "$WORK/garvo.ini" ] || fail "saved to the current directory"
[ "$(stat -c %a "$XDG_CONFIG_HOME/garvo")" = 700 ] || fail "the directory it made is not private"
expect_settings 0 0 75
pass "no argument: runs, and saves to $XDG_CONFIG_HOME/garvo/garvo.ini"
