# Cross-builds the 64-bit Windows side with MinGW-w64: the same sources as the 32-bit image, for
# machines whose Linux runs no 32-bit programs and so no 32-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The -posix variants, because GoogleTest needs std::thread support.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# x86_64 symbols carry no leading underscore.
set(GARVO_ENTRY_SYMBOL GarvoEntry)

# Every executable carries its own runtime: no MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# 64-bit Wine's own loader: where 32-bit Wine is installed too, the "wine" wrapper would pick that.
find_program(GARVO_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${GARVO_WINE64})
