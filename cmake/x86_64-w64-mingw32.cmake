# Cross-builds the 64-bit Windows side with MinGW-w64: the same sources as the 32-bit image, for
# machines whose Linux runs no 32-bit programs and so no 32-bit Wine.
set(GARVO_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# x86_64 symbols carry no leading underscore.
set(GARVO_ENTRY_SYMBOL GarvoEntry)
# 64-bit Wine's own loader: where 32-bit Wine is installed too, the "wine" wrapper would pick that.
find_program(GARVO_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine)
# Through a script that tells Wine's own reason when it ends before a test starts.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/../tests/win/under_wine.sh
  ${GARVO_WINE64})
