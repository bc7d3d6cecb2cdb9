#!/usr/bin/env bash
# Measures what garvo costs: the Windows image this machine runs, under Wine, and the native
# gauge on X11 and on Wayland, each against its floor, a program with the same windows and timer
# that paints nothing, built the same way (the native floors take the same sample the gauge takes,
# on the same display library, XCB or libwayland-client). All run one at a time and in turn, each
# hovered once and then idle: the Windows and X11 ones on the same virtual display, a desktop
# with a window manager and another client running, so that shared libraries are shared as on a
# real one, alone, then with a compositor (picom) running, and the X11 two at scale 2; the Wayland
# two under headless sway, where the compositor's repaints of the gauge's region are counted too.
# Writes docs/benchmark.md and the README's table.
#   RUNS=3 IDLE=60 TICKS=100000 GARVO_ARCH=i686|x86_64 bash scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
garvo_check_arch
bash scripts/setup.sh
garvo_choose_sides
garvo_use_side "$GARVO_ARCH"
RUNS=${RUNS:-3}
IDLE=${IDLE:-60}
TICKS=${TICKS:-100000}
OUT=${OUT:-docs/benchmark.md}

garvo_build_windows "$GARVO_ARCH" garvo floor refresh_bench >/dev/null
garvo_build_x11 garvo floor floor_wayland wl_damage >/dev/null
# The Wayland runs are hovered with the tests' virtual pointer.
cmake -S . -B "$GARVO_BUILD/native" -DCMAKE_BUILD_TYPE=Debug -DGARVO_SANITIZE=ON >/dev/null
cmake --build "$GARVO_BUILD/native" --target wl_pointer >/dev/null
declare -A exe=([garvo]=$GARVO_WIN_BUILD/garvo.exe [floor]=$GARVO_WIN_BUILD/bench/floor.exe
  [native]=$GARVO_X11_GAUGE [nfloor]=$GARVO_BUILD/x11/bench/floor
  [wayland]=$GARVO_X11_GAUGE [wfloor]=$GARVO_BUILD/x11/bench/floor_wayland)
# A name is a program, and after "_" how it runs: c with a compositor, 2 at scale 2.
programs="garvo floor native nfloor garvo_c floor_c native_c nfloor_c native_2 nfloor_2 wayland wfloor"

scratch=$(mktemp -d)
results=$scratch/results
# Headless sway, which runs only as an ordinary user; the programs reach it as root.
sway_pid=
desktop_pids=()
stop_all() {
  [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null || true
  for p in "${desktop_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  garvo_stop
}
trap stop_all EXIT
garvo_start_display
garvo_start_wine
openbox >/dev/null 2>&1 &
desktop_pids+=($!)
xmessage -geometry +600+100 "another client" >/dev/null 2>&1 &
desktop_pids+=($!)
id garvo-bench >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin garvo-bench
chmod 755 "$scratch"
mkdir -m 700 "$scratch/runtime"
chown garvo-bench "$scratch/runtime"
echo "output HEADLESS-1 mode 1024x768 position 0 0 bg #336699 solid_color" >"$scratch/sway.conf"
setpriv --reuid=garvo-bench --regid=garvo-bench --init-groups env -i PATH=/usr/bin:/bin \
  HOME="$scratch" XDG_RUNTIME_DIR="$scratch/runtime" WLR_BACKENDS=headless \
  WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$scratch/sway.conf" >/dev/null 2>&1 &
sway_pid=$!
for _ in $(seq 100); do ls "$scratch/runtime" | grep -q '^wayland-[0-9]*$' && break; sleep 0.1; done
wayland=(XDG_RUNTIME_DIR="$scratch/runtime" GARVO_BACKEND=wayland
  WAYLAND_DISPLAY="$(ls "$scratch/runtime" | grep '^wayland-[0-9]*$' | head -1)")
# One virtual pointer for all the Wayland runs, kept alive as the tests keep theirs.
coproc pointer { exec env "${wayland[@]}" "$GARVO_BUILD/native/tests/wl_pointer" 1024 768; }
desktop_pids+=($pointer_PID)
# Every gauge starts with its bar where the floors put theirs, and saves nothing of the user's.
export XDG_CONFIG_HOME=$scratch/config
printf '[SETTING]\r\nx=200\r\ny=300\r\ns=75\r\n' >"$scratch/garvo.ini"

# Nanoseconds on a CPU, all threads of the process together; 0 for no process.
cpu_ns() {
  [ -n "$1" ] || { echo 0; return; }
  cat /proc/"$1"/task/*/schedstat | awk '{ s += $1 } END { printf "%.0f", s }'
}
kib() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/$3"; }

# Hovers over the bar for a second and leaves it: xdotool on X11, the virtual pointer on Wayland.
hover() {
  if [ "$1" = wayland ]; then
    printf 'move 250 302\n' >&"${pointer[1]}" && read -r -t 5 _ <&"${pointer[0]}"
    sleep 1
    printf 'move 1000 760\n' >&"${pointer[1]}" && read -r -t 5 _ <&"${pointer[0]}"
  else
    xdotool mousemove 250 302
    sleep 1
    xdotool mousemove 1000 760
  fi
}

# One run, hovered once and then idle: "name program wineserver xserver desktop rss_kib
# private_kib compositor repaints pss_kib", CPU in ns; repaints of the bar's region, under sway
# only.
measure() {
  local name=$1 base=${1%_*} pid server= desktop= compositor= p repaints=0 xserver=$GARVO_XVFB_PID
  local -a before=() after=() environment=()
  [ "$name" = "${base}_2" ] && environment=(GDK_SCALE=2)
  if [ "$base" = wayland ] || [ "$base" = wfloor ]; then
    environment=("${wayland[@]}")
    compositor=$sway_pid
    xserver=
  fi
  if [ "$name" = "${base}_c" ]; then
    picom --backend xrender --config /dev/null >/dev/null 2>&1 &
    compositor=$!
    sleep 2
  fi
  xdotool mousemove 1000 760 # nowhere near the bar
  if [[ ${exe[$base]} == *.exe ]]; then
    (cd "$scratch" && exec "$GARVO_WINE" "${exe[$base]}") &
  else
    (cd "$scratch" && exec env "${environment[@]}" "${exe[$base]}") &
  fi
  pid=$!
  sleep 3
  if [ "$compositor" = "$sway_pid" ]; then hover wayland; else hover x11; fi
  sleep 3 # start-up and the hover's end are not idle running
  if [[ ${exe[$base]} == *.exe ]]; then
    server=$(pgrep -f 'wineserver' | head -1)
    desktop=$(pgrep -f 'explorer.exe /desktop' | head -1)
  fi
  for p in "$pid" "$server" "$xserver" "$desktop" "$compositor"; do before+=("$(cpu_ns "$p")"); done
  if [ "$compositor" = "$sway_pid" ]; then
    repaints=$(env "${wayland[@]}" "$GARVO_BUILD/x11/bench/wl_damage" "$IDLE" 200 300 126 6 |
      awk '{ print $4 }')
  else
    sleep "$IDLE"
  fi
  for p in "$pid" "$server" "$xserver" "$desktop" "$compositor"; do after+=("$(cpu_ns "$p")"); done
  private=$(($(kib "$pid" Private_Clean smaps_rollup) + $(kib "$pid" Private_Dirty smaps_rollup)))
  echo "$name $((after[0] - before[0])) $((after[1] - before[1])) $((after[2] - before[2]))" \
    "$((after[3] - before[3])) $(kib "$pid" VmRSS status) $private $((after[4] - before[4]))" \
    "$repaints $(kib "$pid" Pss smaps_rollup)" >>"$results"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  if [ -n "$compositor" ] && [ "$compositor" != "$sway_pid" ]; then
    kill "$compositor"
    wait "$compositor" 2>/dev/null || true
  fi
  sleep 2
}

for run in $(seq "$RUNS"); do
  order=$programs
  [ $((run % 2)) = 0 ] && order=$(echo "$programs" | tr ' ' '\n' | tac | tr '\n' ' ')
  for name in $order; do
    echo "run $run/$RUNS: $name, ${IDLE} s idle" >&2
    measure "$name"
  done
done

echo "refresh ticks: $TICKS in-process" >&2
ticks=$(cd "$GARVO_WIN_BUILD/bench" && "$GARVO_WINE" refresh_bench.exe "$TICKS" | tr -d '\r')
tick_garvo=$(awk '$1 == "garvo_us" { print $2 }' <<<"$ticks")
tick_floor=$(awk '$1 == "floor_us" { print $2 }' <<<"$ticks")

# Median of one column over the runs of one program.
median() {
  awk -v name="$1" -v col="$2" '$1 == name { print $col }' "$results" | sort -n |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
seconds() { awk -v t="$1" 'BEGIN { printf "%.4f", t / 1e9 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print "n/a"; else printf "%.2f", a / b }'; }
per_hour() { awk -v t="$1" -v idle="$IDLE" 'BEGIN { printf "%.2f", t / 1e9 * 3600 / idle }'; }
plain() { echo "$1"; }

declare -A m
for name in $programs; do
  for col in 2 3 4 5 6 7 8 9 10; do m[$name.$col]=$(median "$name" "$col"); done
  # The total is the program and the servers that work for it: wineserver, X, the compositor.
  m[$name.total]=$((m[$name.2] + m[$name.3] + m[$name.4] + m[$name.8]))
  m[$name.size]=$(stat -c %s "${exe[${name%_*}]}")
done
m[garvo.tick]=$tick_garvo
m[floor.tick]=$tick_floor

# One row: the Windows image and its floor, the native gauge and its floor, native over Windows;
# of the runs with the suffix given, for the measure given.
row() { # label, key, how to show a value, run suffix for Windows ("-" for none), for native
  local w=${4#-} n=${5#-} windows native
  windows="$($3 "${m[garvo$w.$2]:-}") | $($3 "${m[floor$w.$2]:-}") | $(ratio "${m[garvo$w.$2]:-0}" "${m[floor$w.$2]:-0}")"
  native="$($3 "${m[native$n.$2]:-}") | $($3 "${m[nfloor$n.$2]:-}") | $(ratio "${m[native$n.$2]:-0}" "${m[nfloor$n.$2]:-0}") | $(ratio "${m[native$n.$2]:-0}" "${m[garvo$w.$2]:-0}")"
  [ "$4" = none ] && windows="– | – | –"
  [ "$5" = none ] && native="– | – | – | –"
  [ "$4" = none ] && native="${native% | *} | –"
  printf '| %s | %s | %s |\n' "$1" "$windows" "$native"
}

objdump=$GARVO_ARCH-w64-mingw32-objdump
imports=$($objdump -p "${exe[garvo]}" | awk '/DLL Name:/ { print $3 }' | sort | tr '\n' ' ')
allocators=$($objdump -p "${exe[garvo]}" |
  grep -ciE '\b(HeapAlloc|HeapCreate|HeapReAlloc|LocalAlloc|GlobalAlloc|VirtualAlloc|RtlAllocateHeap|malloc|calloc|realloc|_Znwj|_Znaj|_Znwm|_Znam)\b' || true)

mkdir -p "$(dirname "$OUT")"
{
  echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo), $($GARVO_WINE --version) on Xvfb with openbox and xmessage running, $(picom --version) for the compositor rows: the $GARVO_ARCH image \`garvo.exe\` under Wine and the native X11 \`garvo\`, each against its floor (the native one on XCB); each hovered once, then idle; median of $RUNS runs in turn, ${IDLE} s idle each, memory at the end."
  echo
  echo "| measure | garvo.exe ($GARVO_ARCH) | Windows floor | garvo.exe / floor | native garvo | native floor | native / floor | native / garvo.exe |"
  echo "|---|---|---|---|---|---|---|---|"
  row "CPU s, the program" 2 seconds - -
  row "CPU s, wineserver" 3 seconds - none
  row "CPU s, X server" 4 seconds - -
  row "CPU s per hour: program, wineserver, X server" total per_hour - -
  row "CPU s, Wine desktop process (not in the total)" 5 seconds - none
  row "with picom: CPU s, the compositor" 8 seconds _c _c
  row "with picom: CPU s per hour, program, servers, compositor" total per_hour _c _c
  row "at scale 2: CPU s per hour, program, X server" total per_hour none _2
  row "resident memory, KiB" 6 plain - -
  row "proportional set (PSS), KiB" 10 plain - -
  row "private memory, KiB" 7 plain - -
  row "at scale 2: private memory, KiB" 7 plain none _2
  row "program size, bytes" size plain - -
  row "one refresh tick in-process, µs ($TICKS ticks; floor: its empty paint)" tick plain - none
  echo
  echo
  echo "Under headless $(sway --version), as the native gauge's Wayland front end runs on a compositor with a layer shell: the gauge against its floor, two overlay surfaces given one picture each, the same timer and sample. The compositor's own time counts, and how often it painted the bar's region anew in the idle minute."
  echo
  echo "| measure | garvo on Wayland | Wayland floor | garvo / floor |"
  echo "|---|---|---|---|"
  wrow() { printf '| %s | %s | %s | %s |\n' "$1" "$($3 "${m[wayland.$2]}")" "$($3 "${m[wfloor.$2]}")" "$(ratio "${m[wayland.$2]}" "${m[wfloor.$2]}")"; }
  wrow "CPU s, the program" 2 seconds
  wrow "CPU s, sway" 8 seconds
  wrow "CPU s per hour: program, sway" total per_hour
  wrow "repaints of the bar's region by sway" 9 plain
  wrow "resident memory, KiB" 6 plain
  wrow "proportional set (PSS), KiB" 10 plain
  wrow "private memory, KiB" 7 plain
  echo
  echo "garvo.exe imports: ${imports}; functions imported that allocate memory: $allocators."
  echo "The native garvo links: $(ldd "${exe[native]}" | awk '/=>/ { print $1 }' | sort | tr '\n' ' ')and opens the display's library only when it tries that display: libxcb.so.1 and libxcb-randr.so.0 for X11, libwayland-client.so.0 for Wayland."
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
