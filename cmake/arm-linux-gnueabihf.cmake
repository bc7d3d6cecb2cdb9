# Cross-builds the native gauge for 32-bit ARM with hardware floating point (Debian's armhf).
set(GARVO_TRIPLET arm-linux-gnueabihf)
set(GARVO_DEBIAN_ARCH armhf)
set(CMAKE_SYSTEM_PROCESSOR armv7l)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
