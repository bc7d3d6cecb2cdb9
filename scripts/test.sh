#!/usr/bin/env bash
# Builds garvo natively and for Windows, and its packages, then runs every test on a virtual
# display of its own: the native ones (the native gauge end to end among them, and the packages),
# then the Windows and end-to-end ones under Wine, against each Windows image this machine can run
# (GARVO_ARCH=i686|x86_64 picks one).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
garvo_check_arch
bash scripts/setup.sh
garvo_choose_sides

garvo_build
garvo_package
trap garvo_stop EXIT
garvo_start_display

status=0
echo "== native tests, and the native gauge end to end on $DISPLAY: $GARVO_X11_GAUGE"
ctest --test-dir "$GARVO_BUILD/native" --output-on-failure || status=1
for side in $GARVO_SIDES; do
  garvo_use_side "$side"
  garvo_start_wine
  echo "== Windows and end-to-end tests on $DISPLAY against the $GARVO_WIN_LABEL"
  ctest --test-dir "$GARVO_WIN_BUILD" --output-on-failure || status=1
done
exit $status
