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
