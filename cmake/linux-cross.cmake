# What the Debian cross toolchains share; each sets GARVO_TRIPLET and GARVO_DEBIAN_ARCH, and
# includes this. The target's libraries come from Debian's multiarch packages
# (dpkg --add-architecture), so they sit beside the build machine's own, under /usr/lib/<triplet>.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${GARVO_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${GARVO_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${GARVO_TRIPLET})

# pkg-config reads the target's .pc files alone; the protocol descriptions are the same for all.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${GARVO_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# Programs that run at build time (wayland-scanner) are the build machine's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
