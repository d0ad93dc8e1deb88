# tamvel.dll: the library sources on the real Win32 API, cross-built with mingw-w64.
# Included from cmake/Sources.cmake after the library targets exist.

# The DLL's entry point belongs to the DLL only (the test executables attach by themselves).
file(GLOB TAMVEL_WIN32_ENTRY_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/win32/*.cpp)
target_sources(tamvel PRIVATE ${TAMVEL_WIN32_ENTRY_SOURCES})
target_include_directories(tamvel PRIVATE ${PROJECT_SOURCE_DIR})

set(TAMVEL_WIN32_LIBRARIES gdi32 user32 advapi32)
target_link_libraries(tamvel_objects PUBLIC ${TAMVEL_WIN32_LIBRARIES})
target_link_libraries(tamvel PRIVATE ${TAMVEL_WIN32_LIBRARIES})

# Named tamvel.dll (not libtamvel.dll), and depending on nothing but the system's DLLs:
# libgcc, libstdc++ and winpthread are linked in. Executables (tests, examples) too, so that
# they run under Wine without a search path.
set_target_properties(tamvel PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
add_link_options(-static)
target_link_options(tamvel PRIVATE -static)

# The export table comes from a .def file generated from the public header, never from
# __declspec(dllexport): on i686 it holds exactly the decorated names (_PLOT@12), on x86_64
# the plain names. Without a .def file the linker would export every global symbol.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TAMVEL_DEF_STYLE decorated)
else()
  set(TAMVEL_DEF_STYLE plain)
endif()
set(TAMVEL_DEF_FILE ${PROJECT_BINARY_DIR}/tamvel.def)
add_custom_command(
  OUTPUT ${TAMVEL_DEF_FILE}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/ci/gen-def.py
          --style ${TAMVEL_DEF_STYLE} -o ${TAMVEL_DEF_FILE} ${PROJECT_SOURCE_DIR}/include/tamvel.h
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/ci/gen-def.py ${PROJECT_SOURCE_DIR}/tools/header_calls.py
          ${PROJECT_SOURCE_DIR}/include/tamvel.h
  COMMENT "Generating tamvel.def from include/tamvel.h"
  VERBATIM)
target_sources(tamvel PRIVATE ${TAMVEL_DEF_FILE})

# The version resource: product name, version and description for Windows' file properties.
enable_language(RC)
configure_file(${PROJECT_SOURCE_DIR}/platform/win32/version.rc.in ${PROJECT_BINARY_DIR}/version.rc @ONLY)
target_sources(tamvel PRIVATE ${PROJECT_BINARY_DIR}/version.rc)

# The SDK's tamvel.def lists the export table's names as they are (_PLOT@12), the form from
# which Microsoft's lib.exe and lld-link make an import library. tamvel.lib is made so, by
# lld-link: an import library in the format of Microsoft's tools (the mingw one,
# libtamvel.dll.a, is written by the linker). binutils' dlltool writes its members as objects
# without the safe-exception-handler mark, which /SAFESEH links of 32-bit programs refuse.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TAMVEL_SDK_DEF_STYLE exported)
  set(TAMVEL_SDK_MACHINE x86)
else()
  set(TAMVEL_SDK_DEF_STYLE plain)
  set(TAMVEL_SDK_MACHINE x64)
endif()
set(TAMVEL_SDK_DEF_FILE ${PROJECT_BINARY_DIR}/sdk/tamvel.def)
set(TAMVEL_MSVC_IMPORT_LIBRARY ${PROJECT_BINARY_DIR}/sdk/tamvel.lib)
find_program(TAMVEL_LLD_LINK NAMES lld-link lld-link-14)
if(NOT TAMVEL_LLD_LINK)
  message(WARNING "No lld-link (scripts/setup-debian.sh --windows): the SDK has no tamvel.lib")
  return()
endif()
add_custom_command(
  OUTPUT ${TAMVEL_SDK_DEF_FILE} ${TAMVEL_MSVC_IMPORT_LIBRARY}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/ci/gen-def.py
          --style ${TAMVEL_SDK_DEF_STYLE} -o ${TAMVEL_SDK_DEF_FILE} ${PROJECT_SOURCE_DIR}/include/tamvel.h
  COMMAND ${TAMVEL_LLD_LINK} /machine:${TAMVEL_SDK_MACHINE} /def:${TAMVEL_SDK_DEF_FILE}
          /out:${TAMVEL_MSVC_IMPORT_LIBRARY}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/ci/gen-def.py ${PROJECT_SOURCE_DIR}/tools/header_calls.py
          ${PROJECT_SOURCE_DIR}/include/tamvel.h
  COMMENT "Writing the SDK's tamvel.def and the import library tamvel.lib"
  VERBATIM)
add_custom_target(tamvel_msvc_import_library ALL DEPENDS ${TAMVEL_MSVC_IMPORT_LIBRARY})
