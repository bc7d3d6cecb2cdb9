#!/usr/bin/env bash
# Runs one Windows test program under Wine, as CTest's emulator: WINE PROGRAM ARGS...
# A test program always says something first. When Wine ends before the program said anything,
# something outside the test ended it (a signal, a loader that could not start): that is said,
# with Wine's own status and errors, and the program is run once more. A second such end fails.
wine=$1
shift
out=$(mktemp)
errors=$(mktemp)
trap 'rm -f "$out" "$errors"' EXIT
for try in 1 2; do
  status=0
  WINEDEBUG=${WINEDEBUG:--all},err+all "$wine" "$@" >"$out" 2>"$errors" || status=$?
  if [ "$status" = 0 ] || [ -s "$out" ]; then
    cat "$out"
    grep -v '^[0-9a-f]*:err:' "$errors" >&2 || true
    exit "$status"
  fi
  why="status $status"
  [ "$status" -gt 128 ] && why="$why, signal $(kill -l $((status - 128)) 2>/dev/null || echo $((status - 128)))"
  echo "under_wine: try $try: $wine ended ($why) before $(basename "$1") said anything; Wine said: $(tr '\n' ' ' <"$errors")" >&2
done
exit "$status"
