#!/usr/bin/env bash
# Installs what building and testing garvo needs on Debian, and nothing that is already there.
set -euo pipefail

need=(cmake make g++ libgtest-dev g++-mingw-w64-i686 wine wine32:i386 xvfb xdotool x11-utils
      fonts-wine imagemagick procps)

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "garvo: missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
