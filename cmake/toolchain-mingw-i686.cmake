# Cross-build for 32-bit Windows with mingw-w64. No 32-bit Wine is available to run the i686
# binaries here: the i686 build makes the DLL and its export table is checked; the tests run
# in the x86_64 build.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TAMVEL_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
