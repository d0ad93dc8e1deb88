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

# tamvel.lib: an import library in the format other Windows linkers read (the mingw one,
# libtamvel.dll.a, is written by the linker), made from the same .def file.
set(TAMVEL_MSVC_IMPORT_LIBRARY ${PROJECT_BINARY_DIR}/tamvel.lib)
add_custom_command(
  OUTPUT ${TAMVEL_MSVC_IMPORT_LIBRARY}
  COMMAND ${CMAKE_DLLTOOL} --input-def ${TAMVEL_DEF_FILE} --dllname tamvel.dll
          --output-lib ${TAMVEL_MSVC_IMPORT_LIBRARY}
  DEPENDS ${TAMVEL_DEF_FILE}
  COMMENT "Writing the import library tamvel.lib from tamvel.def"
  VERBATIM)
add_custom_target(tamvel_msvc_import_library ALL DEPENDS ${TAMVEL_MSVC_IMPORT_LIBRARY})
