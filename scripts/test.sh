#!/usr/bin/env bash
# Builds garvo natively and for Windows, and its packages, then runs every test on a virtual
# display of its own: the native ones (the native gauge end to end among them, the fuzzer, and
# the packages), then the Windows and end-to-end ones under Wine, against each Windows image this
# machine can run (GARVO_ARCH=i686|x86_64 picks one). Ends with a line for each part: its tests
# passed, failed and skipped, or why it was not run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
garvo_check_arch
asked=${GARVO_ARCH:-}
bash scripts/setup.sh test
garvo_choose_sides

garvo_build
garvo_package
trap garvo_stop EXIT
garvo_start_display

status=0
rm -f "$GARVO_BUILD"/*.ctest
echo "== native tests, and the native gauge end to end on $DISPLAY: $GARVO_X11_GAUGE"
ctest --test-dir "$GARVO_BUILD/native" --output-on-failure | tee "$GARVO_BUILD/native.ctest" ||
  status=1
for side in $GARVO_SIDES; do
  garvo_use_side "$side"
  garvo_start_wine
  echo "== Windows and end-to-end tests on $DISPLAY against the $GARVO_WIN_LABEL"
  ctest --test-dir "$GARVO_WIN_BUILD" --output-on-failure | tee "$GARVO_BUILD/windows-$side.ctest" ||
    status=1
done

# The parts, from ctest's own lines: what each test is part of, and how it ended.
results() {
  sed -n -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: (.+) \.+ *(\*\*\*)?([A-Za-z]+).*/\3 \1/p' "$@"
}
count() { # the part's label, then its results
  awk -v part="$1" '{ n[$1 == "Passed" ? "p" : $1 == "Skipped" ? "s" : "f"]++ }
    END { printf "%s: %d passed, %d failed, %d skipped\n", part, n["p"], n["f"], n["s"] }'
}
echo "== what this run tested on this machine"
results "$GARVO_BUILD/native.ctest" | awk '{
    part = "native"
    if ($2 ~ /^e2e\.(arm64|armhf)\./) { split($2, a, "."); part = a[2] }
    else if ($2 == "package.install.arm64") part = "arm64"
    else if ($2 == "e2e.wayland.compositors") part = "kwin-labwc"
    else if ($2 ~ /^e2e\.(sanitized\.)?wayland\./) part = "sway"
    else if ($2 ~ /^package\./) part = "packages"
    print part, $1
  }' >"$GARVO_BUILD/parts"
for part in native sway kwin-labwc $GARVO_CROSS_ARCHES packages; do
  { grep "^$part " "$GARVO_BUILD/parts" || true; } | cut -d' ' -f2 | count "$part"
  why=$(garvo_left_out "$part")
  [ -z "$why" ] || echo "  ($part left out by set-up: $why)"
done
for side in i686 x86_64; do
  if [[ " $GARVO_SIDES " == *" $side "* ]]; then
    results "$GARVO_BUILD/windows-$side.ctest" | count "windows-$side"
  else
    why="GARVO_ARCH=$asked"
    [ "$side" = x86_64 ] || [ "$asked" = x86_64 ] || why=$(garvo_32bit_refusal)
    echo "windows-$side: not run: $why"
  fi
done
{ results "$GARVO_BUILD"/*.ctest 2>/dev/null || true; } | count total
exit $status
