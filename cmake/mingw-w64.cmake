# What both MinGW-w64 toolchains share; each sets GARVO_TRIPLET and includes this.
set(CMAKE_SYSTEM_NAME Windows)

# The -posix variants, because GoogleTest needs std::thread support.
set(CMAKE_C_COMPILER ${GARVO_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GARVO_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${GARVO_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GARVO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every executable carries its own runtime: no MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
