# Shared by the scripts: the builds, the Windows side this machine can run, and a virtual display
# and Wine prefixes of their own. Source it; it sets GARVO_ROOT and GARVO_BUILD.

GARVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
GARVO_BUILD=${GARVO_BUILD:-$GARVO_ROOT/build}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
GARVO_XVFB_PID=
GARVO_PREFIXES=()

GARVO_JOBS=$(nproc 2>/dev/null || echo 2)

# Wine's own loaders: the "wine" wrapper picks the 32-bit one whenever it is installed, even where
# the kernel cannot run it.
GARVO_WINE32=${GARVO_WINE32:-/usr/lib/wine/wine}
GARVO_WINE64=${GARVO_WINE64:-/usr/lib/wine/wine64}

# GARVO_ARCH forces one Windows side; anything else is a mistake worth stopping for at once.
garvo_check_arch() {
  case ${GARVO_ARCH:-} in
    "" | i686 | x86_64) ;;
    *)
      echo "garvo: GARVO_ARCH is '$GARVO_ARCH'; it must be i686 (the 32-bit image) or x86_64 (the 64-bit one)" >&2
      exit 1
      ;;
  esac
}

# Why this machine cannot run 32-bit Windows programs, or nothing when it can. Asks Wine's 32-bit
# loader itself: the distribution and the CPU say nothing about a kernel's 32-bit emulation.
garvo_32bit_refusal() {
  local out
  local why
  if [ ! -e "$GARVO_WINE32" ]; then
    why=$(garvo_left_out i386)
    garvo_kernel_runs_32bit || why="the kernel runs no 32-bit programs"
    echo "32-bit Wine is not installed${why:+: $why}"
    return
  fi
  out=$("$GARVO_WINE32" --version 2>&1) && return
  case $out in
    *"Exec format error"*) echo "the kernel's 32-bit emulation is off" ;;
    *) echo "Wine's 32-bit loader fails: ${out%%$'\n'*}" ;;
  esac
}

# Whether the kernel runs 32-bit x86 programs, asked before anything 32-bit is installed: a
# program of a few bytes that only exits, run once.
garvo_kernel_runs_32bit() {
  local probe=$GARVO_BUILD/probe-32bit
  mkdir -p "$GARVO_BUILD"
  # The ELF header, one program header loading the file at 0x8048000, and "xor ebx, ebx;
  # mov eax, 1; int 0x80": exit(0).
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0\135\0\0\0\5\0\0\0\0\20\0\0\61\333\270\1\0\0\0\315\200' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
}

# Whether a package is installed for the architecture it names, else for this machine's (or for
# all): another architecture's copy is not this machine's.
garvo_installed() {
  local name=${1%:*} arch=${1#*:}
  [[ $1 == *:* ]] || arch=$GARVO_HOST_ARCH
  dpkg-query -W -f='${Architecture} ${db:Status-Abbrev}\n' "$name" 2>/dev/null |
    grep -qE "^($arch|all) ii"
}

# Why setup left a part out (an architecture, or a package), or nothing when it did not.
garvo_left_out() {
  sed -n "s/^$1 //p" "$GARVO_BUILD/left-out" 2>/dev/null | head -1
}

# Sets GARVO_SIDES, the Windows sides to test, and GARVO_ARCH, the one to run: both and the 32-bit
# image where this machine runs 32-bit programs, else the 64-bit one, saying why.
garvo_choose_sides() {
  garvo_check_arch
  if [ "${GARVO_ARCH:-}" = x86_64 ]; then
    GARVO_SIDES=x86_64
    echo "garvo: GARVO_ARCH=x86_64: running the 64-bit build" >&2
    return
  fi
  local refusal
  refusal=$(garvo_32bit_refusal)
  if [ -n "$refusal" ]; then
    if [ "${GARVO_ARCH:-}" = i686 ]; then
      echo "garvo: this machine cannot run 32-bit programs ($refusal)" >&2
      exit 1
    fi
    echo "garvo: this machine cannot run 32-bit programs ($refusal); running the 64-bit build of the same sources" >&2
    GARVO_ARCH=x86_64
    GARVO_SIDES=x86_64
  elif [ "${GARVO_ARCH:-}" = i686 ]; then
    GARVO_SIDES=i686
  else
    GARVO_ARCH=i686
    GARVO_SIDES="i686 x86_64"
  fi
}

# Points the Wine environment at one side: its build, its prefix, its loader.
garvo_use_side() {
  if [ "$1" = i686 ]; then
    GARVO_WIN_BUILD=$GARVO_BUILD/win32
    export WINEPREFIX=$GARVO_BUILD/wineprefix WINEARCH=win32 GARVO_WINE=$GARVO_WINE32
  else
    GARVO_WIN_BUILD=$GARVO_BUILD/win64
    export WINEPREFIX=$GARVO_BUILD/wineprefix64 WINEARCH=win64 GARVO_WINE=$GARVO_WINE64
  fi
  GARVO_WIN_LABEL="$1 image $GARVO_WIN_BUILD/garvo.exe under $GARVO_WINE"
}

# The native X11 gauge as users run it and as the Debian package ships it: small, built with
# Debian's hardening flags for /usr, with no test instrumentation.
GARVO_X11_GAUGE=$GARVO_BUILD/x11/program/garvo

# The Debian architectures the packages are also cross-built for, with Debian's cross compilers,
# each in build/<arch>: the ARM ones other than this machine's own, unless GARVO_CROSS_ARCHES
# names others (or none).
GARVO_HOST_ARCH=$(dpkg --print-architecture 2>/dev/null || echo amd64)
if [ -z "${GARVO_CROSS_ARCHES+set}" ]; then
  GARVO_CROSS_ARCHES=
  for arch in arm64 armhf; do
    [ "$arch" = "$GARVO_HOST_ARCH" ] || GARVO_CROSS_ARCHES+="${GARVO_CROSS_ARCHES:+ }$arch"
  done
fi

# The release build for one Debian architecture (this machine's when empty) in that folder, all
# of it or the targets named.
garvo_release_build() {
  local dir=$1 arch=$2 triplet
  shift 2
  local -a flags=()
  debian() {
    env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${arch:+DEB_HOST_ARCH=$arch} \
      dpkg-buildflags --get "$1" 2>/dev/null
  }
  if command -v dpkg-buildflags >/dev/null; then
    flags=(-DCMAKE_C_FLAGS="$(debian CFLAGS) $(debian CPPFLAGS)"
      -DCMAKE_CXX_FLAGS="$(debian CXXFLAGS) $(debian CPPFLAGS)"
      -DCMAKE_EXE_LINKER_FLAGS="$(debian LDFLAGS)")
  fi
  if [ -n "$arch" ]; then
    triplet=$(dpkg-architecture -a "$arch" -qDEB_HOST_MULTIARCH 2>/dev/null)
    flags+=(-DCMAKE_TOOLCHAIN_FILE="$GARVO_ROOT/cmake/$triplet.cmake")
  fi
  cmake -S "$GARVO_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=MinSizeRel -DGARVO_TESTS=OFF \
    -DGARVO_DEBIAN=ON -DCMAKE_INSTALL_PREFIX=/usr "${flags[@]}" >/dev/null
  cmake --build "$dir" -j "$GARVO_JOBS" ${1:+--target "$@"}
}
garvo_build_x11() { garvo_release_build "$GARVO_BUILD/x11" "" "$@"; }
garvo_build_cross() { garvo_release_build "$GARVO_BUILD/$1" "$1" "${@:2}"; }

# Builds one Windows side, all of it or the targets named. The 64-bit build also checks the
# 32-bit image's file, which it cannot always run. The first side tested also runs the soak,
# which need run only once.
garvo_build_windows() {
  local arch=$1 dir toolchain first=OFF
  shift
  dir=$GARVO_BUILD/win32
  [ "$arch" = x86_64 ] && dir=$GARVO_BUILD/win64
  toolchain=$GARVO_ROOT/cmake/$arch-w64-mingw32.cmake
  local sides=${GARVO_SIDES:-}
  [ "$arch" = "${sides%% *}" ] && first=ON
  local -a options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain"
    -DGARVO_SOAK=$first)
  if [ "$arch" = x86_64 ]; then
    options+=(-DGARVO_OTHER_IMAGE="$GARVO_BUILD/win32/garvo.exe" -DGARVO_OTHER_ARCH=i686)
  fi
  cmake -S "$GARVO_ROOT" -B "$dir" "${options[@]}" >/dev/null
  cmake --build "$dir" -j "$GARVO_JOBS" ${1:+--target "$@"}
}

# A Debian 13 system with labwc, which Debian 12 has not, for the drags on labwc; made once.
GARVO_LABWC_ROOT=$GARVO_BUILD/chroot/labwc
garvo_labwc_root() {
  [ -x "$GARVO_LABWC_ROOT/usr/bin/wlr-randr" ] && return 0
  rm -rf "$GARVO_LABWC_ROOT" && mkdir -p "$GARVO_BUILD/chroot"
  debootstrap --variant=minbase --include=labwc,wlr-randr trixie "$GARVO_LABWC_ROOT" \
    http://deb.debian.org/debian >"$GARVO_BUILD/chroot/labwc.log" 2>&1 ||
    { tail -5 "$GARVO_BUILD/chroot/labwc.log" >&2; return 1; }
}

# The readers' fuzzer, built by clang with libFuzzer; its path, or nothing without clang.
garvo_build_fuzzer() {
  command -v clang++ >/dev/null || return 0
  cmake -S "$GARVO_ROOT/tests/fuzz" -B "$GARVO_BUILD/fuzz" -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
    cmake --build "$GARVO_BUILD/fuzz" -j "$GARVO_JOBS" >/dev/null && echo "$GARVO_BUILD/fuzz/fuzz_readers"
}

# Everything the tests need: the native gauge, for this machine and the other architectures that
# set-up could install for (the rest are told to the tests as left out, with the reason), the
# native tests (which drive those gauges and check the packages), the fuzzer, and both Windows
# images on every machine.
garvo_build() {
  local arch cross=() why fuzzer
  garvo_build_x11
  for arch in $GARVO_CROSS_ARCHES; do
    why=$(garvo_left_out "$arch")
    if [ -n "$why" ]; then
      why=${why//[;\'\"\\]/}
      cross+=("$arch=left out: $why")
      continue
    fi
    garvo_build_cross "$arch"
    cross+=("$arch=$GARVO_BUILD/$arch/program/garvo")
  done
  garvo_labwc_root
  fuzzer=$(garvo_build_fuzzer)
  cmake -S "$GARVO_ROOT" -B "$GARVO_BUILD/native" -DCMAKE_BUILD_TYPE=Debug -DGARVO_SANITIZE=ON \
    -DGARVO_X11_GAUGE="$GARVO_X11_GAUGE" -DGARVO_CROSS_GAUGES="$(IFS=';'; echo "${cross[*]}")" \
    -DGARVO_PACKAGES="$GARVO_BUILD" -DGARVO_LABWC_ROOT="$GARVO_LABWC_ROOT" \
    -DGARVO_FUZZER="$fuzzer" >/dev/null
  cmake --build "$GARVO_BUILD/native" -j "$GARVO_JOBS"
  garvo_build_windows i686
  garvo_build_windows x86_64
}

# The time the sources stand for, in SOURCE_DATE_EPOCH for every tool that would take its clock's:
# the one given, else the last commit's, else the one a source tarball's "release" file carries.
garvo_source_date() {
  if [ -z "${SOURCE_DATE_EPOCH:-}" ] && [ -e "$GARVO_ROOT/.git" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$GARVO_ROOT" log -1 --format=%ct)
  elif [ -z "${SOURCE_DATE_EPOCH:-}" ] && [ -f "$GARVO_ROOT/release" ]; then
    SOURCE_DATE_EPOCH=$(sed -n 's/^date //p' "$GARVO_ROOT/release")
  fi
  export SOURCE_DATE_EPOCH
}

# Files as every build leaves them, whoever makes them under whatever umask: owned by root, their
# time the sources', readable by all, writable by their owner.
garvo_normalize() {
  chmod -R u+rw,go-w,a+rX "$@"
  find "$@" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

# The Debian package of one release build, into build/: dpkg-shlibdeps reads a cross build's
# dependencies from its architecture's multiarch packages. CPack stamps each member with the time
# it was made; the same package is built again from its contents with dpkg-deb, which sorts
# them and takes the sources' time.
garvo_deb() {
  local dir=$1 arch=${2:-$GARVO_HOST_ARCH} version stage
  (cd "$dir" && DEB_HOST_ARCH=$arch cpack -G DEB -B "$dir/packages" >/dev/null)
  version=$(sed -n 's/^#define GARVO_VERSION "\(.*\)"$/\1/p' "$dir/version/version.h")
  stage=$dir/packages/contents
  rm -rf "$stage"
  dpkg-deb -R "$dir/packages/garvo_$version-1_$arch.deb" "$stage"
  garvo_normalize "$stage"
  dpkg-deb --root-owner-group -Zxz --build "$stage" "$GARVO_BUILD/garvo_$version-1_$arch.deb" >/dev/null
}

# The sources of the commit, build/garvo-<version>.tar.gz, with the "release" file that says
# which commit and its time, for a build with no git: made from git's own archive, in a fixed
# order, owner and time.
garvo_source_tarball() {
  local version=$1 stage=$GARVO_BUILD/source
  rm -rf "$stage" && mkdir -p "$stage/garvo-$version"
  git -C "$GARVO_ROOT" archive HEAD | tar -x -C "$stage/garvo-$version"
  printf 'commit %s\ndate %s\n' "$(git -C "$GARVO_ROOT" log -1 --format=%h --abbrev=12)" \
    "$SOURCE_DATE_EPOCH" >"$stage/garvo-$version/release"
  garvo_normalize "$stage"
  LC_ALL=C tar -C "$stage" --sort=name --owner=0 --group=0 --numeric-owner --format=gnu \
    --mtime="@$SOURCE_DATE_EPOCH" \
    -cf - "garvo-$version" | gzip -9n >"$GARVO_BUILD/garvo-$version.tar.gz"
}

# What users download, made from these sources and nothing of this machine's: the Debian packages
# of the native gauge, build/garvo_<version>-1_<arch>.deb for this machine and the other
# architectures that set-up did not leave out; the Windows download,
# build/garvo-<version>-windows.zip, both images, a README and the licence; in a git checkout the
# source tarball; and build/SHA256SUMS for all of them.
garvo_package() {
  local version stage arch commit made=()
  garvo_source_date
  garvo_build_x11
  garvo_deb "$GARVO_BUILD/x11"
  version=$(sed -n 's/^#define GARVO_VERSION "\(.*\)"$/\1/p' "$GARVO_BUILD/x11/version/version.h")
  commit=$(sed -n 's/^#define GARVO_COMMIT "\(.*\)"$/\1/p' "$GARVO_BUILD/x11/version/version.h")
  made+=("garvo_$version-1_$GARVO_HOST_ARCH.deb")
  for arch in $GARVO_CROSS_ARCHES; do
    [ -z "$(garvo_left_out "$arch")" ] || continue
    garvo_build_cross "$arch"
    garvo_deb "$GARVO_BUILD/$arch" "$arch"
    made+=("garvo_$version-1_$arch.deb")
  done
  garvo_build_windows i686 garvo
  garvo_build_windows x86_64 garvo
  stage=$GARVO_BUILD/zip/garvo-$version
  rm -rf "$GARVO_BUILD/zip" "$GARVO_BUILD/garvo-$version-windows.zip"
  mkdir -p "$stage"
  cp "$GARVO_BUILD/win32/garvo.exe" "$stage/garvo.exe"
  cp "$GARVO_BUILD/win64/garvo.exe" "$stage/garvo64.exe"
  # Text files as Windows shows them best: CRLF.
  sed "s/@VERSION@/$version/; s/@COMMIT@/${commit:-unknown}/; s/\$/\r/" \
    "$GARVO_ROOT/packaging/README.txt" >"$stage/README.txt"
  sed 's/$/\r/' "$GARVO_ROOT/LICENSE" >"$stage/LICENSE.txt"
  garvo_normalize "$stage"
  # Zip keeps times as the local clock reads them, and owners where it is not told not to.
  (cd "$GARVO_BUILD/zip" && TZ=UTC zip -q -X "../garvo-$version-windows.zip" "garvo-$version/" \
    "garvo-$version/LICENSE.txt" "garvo-$version/README.txt" "garvo-$version/garvo.exe" \
    "garvo-$version/garvo64.exe")
  made+=("garvo-$version-windows.zip")
  if [ -e "$GARVO_ROOT/.git" ]; then
    garvo_source_tarball "$version"
    made+=("garvo-$version.tar.gz")
  fi
  (cd "$GARVO_BUILD" && sha256sum "${made[@]}" >SHA256SUMS)
}

# Whether a server holds that display number: here, or in another root (a chroot's), where only
# its abstract socket shows.
garvo_display_taken() {
  [ -e "/tmp/.X$1-lock" ] || [ -e "/tmp/.X11-unix/X$1" ] || grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix
}

# Starts Xvfb on the first free display number and exports DISPLAY.
garvo_start_display() {
  local n=${1:-99}
  while garvo_display_taken "$n"; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -wr -noreset -nolisten tcp >/dev/null 2>&1 &
  GARVO_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "garvo: Xvfb did not start on :$n" >&2
  return 1
}

# Creates the side's prefix once; keeps a wineserver running so that each process starts fast.
garvo_start_wine() {
  mkdir -p "$GARVO_BUILD"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$GARVO_WINE" wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
  GARVO_PREFIXES+=("$WINEPREFIX")
  # A server already running for this prefix serves as well as a new one.
  wineserver -p 2>/dev/null || true
  # Without this Wine's X driver hands a pop-up to the window manager when its move loop starts,
  # loses the capture, and the first drag stalls.
  "$GARVO_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
}

garvo_stop() {
  local prefix
  for prefix in "${GARVO_PREFIXES[@]}"; do WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; done
  if [ -n "$GARVO_XVFB_PID" ]; then
    kill "$GARVO_XVFB_PID" 2>/dev/null || true
    wait "$GARVO_XVFB_PID" 2>/dev/null || true
  fi
}
