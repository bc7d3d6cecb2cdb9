# Cross-builds the 32-bit Windows side, the product, with MinGW-w64; tests run under Wine.
set(GARVO_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# i386 symbols carry a leading underscore.
set(GARVO_ENTRY_SYMBOL _GarvoEntry)
# Through a script that tells Wine's own reason when it ends before a test starts.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/../tests/win/under_wine.sh wine)
