# How the scripts choose the Windows side: by asking Wine's 32-bit loader whether it runs, or as
# GARVO_ARCH says.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

printf '#!/bin/sh\necho wine-8.0\n' >"$dir/runs"
# An ELF header the kernel will not load: the same "Exec format error" an i386 program gets
# where the kernel's 32-bit emulation is off.
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000' >"$dir/refuses"
chmod +x "$dir/runs" "$dir/refuses"

passed=0 failed=0
# Loader, GARVO_ARCH, then the exit status, "arch|sides" and what stderr must say (a pattern).
check() {
  local out status said
  out=$(GARVO_BUILD=$dir GARVO_WINE32="$dir/$1" GARVO_ARCH=$2 bash -c \
    'source "$0/scripts/lib.sh"; garvo_choose_sides; echo "$GARVO_ARCH|$GARVO_SIDES"' \
    "$root" 2>"$dir/said")
  status=$?
  said=$(cat "$dir/said")
  if [ "$status" = "$3" ] && [ "$out" = "$4" ] && [[ $said =~ $5 ]] &&
    [ "$(wc -l <"$dir/said")" -le 1 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: loader $1, GARVO_ARCH='$2': status $status, chose '$out', said '$said'"
  fi
}

refused="^garvo: this machine cannot run 32-bit programs \\(the kernel's 32-bit emulation is off\\)"
check runs "" 0 "i686|i686 x86_64" "^$"
check runs i686 0 "i686|i686" "^$"
check runs x86_64 0 "x86_64|x86_64" "GARVO_ARCH=x86_64: running the 64-bit build"
check refuses "" 0 "x86_64|x86_64" "$refused; running the 64-bit build of the same sources$"
check refuses x86_64 0 "x86_64|x86_64" "GARVO_ARCH=x86_64"
check refuses i686 1 "" "$refused$"
check missing "" 0 "x86_64|x86_64" "\\(32-bit Wine is not installed(: [^)]*)?\\); running the 64-bit build"
check runs arm64 1 "" "GARVO_ARCH is 'arm64'; it must be i686 .* or x86_64"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
