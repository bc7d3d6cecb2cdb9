#!/usr/bin/env bash
# Runs one reader's fuzz target for a few seconds over its seeds. A crash, a sanitizer's
# finding or a result out of range fails the run, and its input is kept in crashes/ beside it.
#   bash tests/fuzz/run.sh FUZZER TARGET    (GARVO_FUZZ_SECONDS, 7 by default)
set -euo pipefail
fuzzer=$1 target=$2
dir=$(dirname "$fuzzer")
mkdir -p "$dir/crashes" "$dir/grown/$target"
log=$dir/$target.log
if ! GARVO_FUZZ=$target "$fuzzer" -max_total_time="${GARVO_FUZZ_SECONDS:-7}" -timeout=10 \
  -rss_limit_mb=1024 -artifact_prefix="$dir/crashes/$target-" "$dir/grown/$target" \
  "$(dirname "$0")/corpus/$target" >"$log" 2>&1; then
  grep -E 'ERROR|SUMMARY|fuzz:|Test unit written' "$log" | head -20
  echo "FAIL: the $target reader, with the input kept in $dir/crashes/"
  exit 1
fi
echo "$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log")"
