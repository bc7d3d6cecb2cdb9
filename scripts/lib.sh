# Shared by the scripts: the two builds, and a virtual display and Wine prefix of their own.
# Source it; it sets GARVO_ROOT, GARVO_BUILD and the Wine environment.

GARVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
GARVO_BUILD=${GARVO_BUILD:-$GARVO_ROOT/build}
export WINEPREFIX=$GARVO_BUILD/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32
GARVO_XVFB_PID=

GARVO_JOBS=$(nproc 2>/dev/null || echo 2)

# Builds the Windows side, all of it or the targets named.
garvo_build_win32() {
  cmake -S "$GARVO_ROOT" -B "$GARVO_BUILD/win32" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$GARVO_ROOT/cmake/i686-w64-mingw32.cmake" >/dev/null
  cmake --build "$GARVO_BUILD/win32" -j "$GARVO_JOBS" ${1:+--target "$@"}
}

garvo_build() {
  cmake -S "$GARVO_ROOT" -B "$GARVO_BUILD/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$GARVO_BUILD/native" -j "$GARVO_JOBS"
  garvo_build_win32
}

# Starts Xvfb on the first free display number and exports DISPLAY.
garvo_start_display() {
  local n=${1:-99}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -wr -nolisten tcp >/dev/null 2>&1 &
  GARVO_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "garvo: Xvfb did not start on :$n" >&2
  return 1
}

# Creates the prefix once; keeps a wineserver running so that each process starts fast.
garvo_start_wine() {
  mkdir -p "$GARVO_BUILD"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
  # A server already running for this prefix serves as well as a new one.
  wineserver -p 2>/dev/null || true
  # Without this Wine's X driver hands a pop-up to the window manager when its move loop starts,
  # loses the capture, and the first drag stalls.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
}

garvo_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "$GARVO_XVFB_PID" ]; then
    kill "$GARVO_XVFB_PID" 2>/dev/null || true
    wait "$GARVO_XVFB_PID" 2>/dev/null || true
  fi
}
