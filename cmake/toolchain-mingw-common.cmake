# What both mingw-w64 cross-builds share (posix thread model, GCC 12); the toolchain file of
# each sets CMAKE_SYSTEM_PROCESSOR and TAMVEL_MINGW_TRIPLET first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TAMVEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAMVEL_MINGW_TRIPLET}-g++-posix)
# Fortran only where the cross gfortran is installed (the Fortran example is optional).
find_program(TAMVEL_MINGW_GFORTRAN NAMES ${TAMVEL_MINGW_TRIPLET}-gfortran-posix)
if(TAMVEL_MINGW_GFORTRAN)
  set(CMAKE_Fortran_COMPILER ${TAMVEL_MINGW_GFORTRAN})
endif()
set(CMAKE_RC_COMPILER ${TAMVEL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TAMVEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -O2 rather than -O3 for Release: at -O3 GCC 12 reports std::string copies as overlapping
# memcpy (a false -Wrestrict, GCC bug 105329), which -Werror turns into a failed build.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Release flags")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Release flags")
