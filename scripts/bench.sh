#!/usr/bin/env bash
# Measures what garvo costs against the floor, a program with garvo's windows and timer that
# samples and paints nothing, built the same way. Both run idle, one at a time and alternating,
# under the same Wine and virtual display. Writes docs/benchmark.md.
#   RUNS=3 IDLE=60 TICKS=100000 bash scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/lib.sh
RUNS=${RUNS:-3}
IDLE=${IDLE:-60}
TICKS=${TICKS:-100000}
OUT=${OUT:-docs/benchmark.md}

garvo_build_win32 garvo floor refresh_bench >/dev/null
declare -A exe=([garvo]=$GARVO_BUILD/win32/garvo.exe [floor]=$GARVO_BUILD/win32/bench/floor.exe)

trap garvo_stop EXIT
garvo_start_display
garvo_start_wine
scratch=$(mktemp -d)
results=$scratch/results

# Nanoseconds on a CPU, all threads of the process together.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ s += $1 } END { printf "%.0f", s }'; }
kib() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/$3"; }

# One idle run: "name program wineserver xserver desktop rss_kib private_kib", CPU in ns.
measure() {
  local name=$1 pid server desktop p
  local -a before after
  xdotool mousemove 1000 760 # nowhere near the bar
  (cd "$scratch" && exec wine "${exe[$name]}") &
  pid=$!
  sleep 5 # start-up is not idle running
  server=$(pgrep -f 'wineserver' | head -1)
  desktop=$(pgrep -f 'explorer.exe /desktop' | head -1)
  for p in "$pid" "$server" "$GARVO_XVFB_PID" "$desktop"; do before+=("$(cpu_ns "$p")"); done
  sleep "$IDLE"
  for p in "$pid" "$server" "$GARVO_XVFB_PID" "$desktop"; do after+=("$(cpu_ns "$p")"); done
  private=$(($(kib "$pid" Private_Clean smaps_rollup) + $(kib "$pid" Private_Dirty smaps_rollup)))
  echo "$name $((after[0] - before[0])) $((after[1] - before[1])) $((after[2] - before[2]))" \
    "$((after[3] - before[3])) $(kib "$pid" VmRSS status) $private" >>"$results"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  sleep 2
}

for run in $(seq "$RUNS"); do
  if [ $((run % 2)) = 1 ]; then order="garvo floor"; else order="floor garvo"; fi
  for name in $order; do
    echo "run $run/$RUNS: $name, ${IDLE} s idle" >&2
    measure "$name"
  done
done

echo "refresh ticks: $TICKS in-process" >&2
ticks=$(cd "$GARVO_BUILD/win32/bench" && wine refresh_bench.exe "$TICKS" | tr -d '\r')
tick_garvo=$(awk '$1 == "garvo_us" { print $2 }' <<<"$ticks")
tick_floor=$(awk '$1 == "floor_us" { print $2 }' <<<"$ticks")

# Median of one column over the runs of one program.
median() {
  awk -v name="$1" -v col="$2" '$1 == name { print $col }' "$results" | sort -n |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
seconds() { awk -v t="$1" 'BEGIN { printf "%.4f", t / 1e9 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print "n/a"; else printf "%.2f", a / b }'; }

declare -A m
for name in garvo floor; do
  for col in 2 3 4 5 6 7; do m[$name.$col]=$(median "$name" "$col"); done
  m[$name.total]=$((m[$name.2] + m[$name.3] + m[$name.4] + m[$name.5]))
  m[$name.size]=$(stat -c %s "${exe[$name]}")
done

row() { # label, key, how to show a value
  printf '| %s | %s | %s | %s |\n' "$1" "$($3 "${m[garvo.$2]}")" "$($3 "${m[floor.$2]}")" \
    "$(ratio "${m[garvo.$2]}" "${m[floor.$2]}")"
}
per_hour() { awk -v t="$1" -v idle="$IDLE" 'BEGIN { printf "%.2f", t / 1e9 * 3600 / idle }'; }
plain() { echo "$1"; }

imports=$(i686-w64-mingw32-objdump -p "${exe[garvo]}" | awk '/DLL Name:/ { print $3 }' | sort | tr '\n' ' ')
allocators=$(i686-w64-mingw32-objdump -p "${exe[garvo]}" |
  grep -ciE '\b(HeapAlloc|HeapCreate|HeapReAlloc|LocalAlloc|GlobalAlloc|VirtualAlloc|RtlAllocateHeap|malloc|calloc|realloc|_Znwj|_Znaj)\b' || true)

mkdir -p "$(dirname "$OUT")"
{
  echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo), $(wine --version) on Xvfb; median of $RUNS alternating runs, ${IDLE} s idle each."
  echo
  echo "| measure | garvo | floor | garvo / floor |"
  echo "|---|---|---|---|"
  row "CPU s, the program" 2 seconds
  row "CPU s, wineserver" 3 seconds
  row "CPU s, X server" 4 seconds
  row "CPU s, Wine desktop process" 5 seconds
  row "CPU s per hour, all four" total per_hour
  row "resident memory, KiB" 6 plain
  row "private memory, KiB" 7 plain
  row "image size, bytes" size plain
  printf '| one refresh tick in-process, µs (%d ticks; floor: its empty paint) | %s | %s | %s |\n' \
    "$TICKS" "$tick_garvo" "$tick_floor" "$(ratio "$tick_garvo" "$tick_floor")"
  echo
  echo "garvo.exe imports: ${imports}; functions imported that allocate memory: $allocators."
} >"$OUT"
cat "$OUT"

# The README quotes the latest table between its two markers.
if [ "$OUT" = docs/benchmark.md ] && grep -q '^<!-- benchmark -->$' README.md; then
  awk -v table="$OUT" '
    /^<!-- benchmark -->$/ { print; while ((getline line < table) > 0) print line; skip = 1; next }
    /^<!-- \/benchmark -->$/ { skip = 0 }
    !skip' README.md >"$scratch/README.md"
  cp "$scratch/README.md" README.md
fi
