# Cross-build for 64-bit Windows with mingw-w64; the test executables run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAMVEL_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)

# ctest runs the test executables through Wine (Debian's wine64 package puts the loader here).
find_program(TAMVEL_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TAMVEL_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TAMVEL_WINE64})
endif()
