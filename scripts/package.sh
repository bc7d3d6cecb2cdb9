#!/usr/bin/env bash
# Builds what users install: the Debian package of the native gauge,
# build/garvo_<version>-1_<arch>.deb, and the Windows download, build/garvo-<version>-windows.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
garvo_check_arch
bash scripts/setup.sh package
garvo_package
ls -l "$GARVO_BUILD"/garvo_*.deb "$GARVO_BUILD"/garvo-*-windows.zip
# A package asked for that could not be built fails the run, once the rest are made.
status=0
for arch in $GARVO_CROSS_ARCHES; do
  why=$(garvo_left_out "$arch")
  [ -z "$why" ] || { echo "garvo: no $arch package: $why" >&2 && status=1; }
done
exit $status
