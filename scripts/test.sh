#!/usr/bin/env bash
# Builds garvo natively and for Windows, then runs every test: the native ones directly, the
# Windows and end-to-end ones under Wine on a virtual display of their own.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/lib.sh

garvo_build
trap garvo_stop EXIT
garvo_start_display
garvo_start_wine

status=0
echo "== native tests"
ctest --test-dir "$GARVO_BUILD/native" --output-on-failure || status=1
echo "== Windows tests under Wine, end-to-end tests on $DISPLAY"
ctest --test-dir "$GARVO_BUILD/win32" --output-on-failure || status=1
exit $status
