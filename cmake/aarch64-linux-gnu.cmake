# Cross-builds the native gauge for 64-bit ARM (Debian's arm64) with Debian's cross compiler.
set(GARVO_TRIPLET aarch64-linux-gnu)
set(GARVO_DEBIAN_ARCH arm64)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
