# The desktop parts, outside libtamvel.so so that its dependencies stay what they are: the
# viewer program (GTK 4), which also shows the library's windows and owns the desktop
# clipboard for it, and the CUPS module. The library finds them beside itself (the build
# folder) or in TAMVEL_HELPER_DIR, and starts or loads them only when a call needs them.
# Each is built when its library is installed (scripts/setup-debian.sh --desktop).
include(GNUInstallDirs)
set(TAMVEL_HELPER_DIR ${CMAKE_INSTALL_FULL_LIBDIR}/tamvel CACHE PATH
    "Where the installed viewer program and CUPS module are")
target_compile_definitions(tamvel_objects PRIVATE TAMVEL_HELPER_DIR="${TAMVEL_HELPER_DIR}")

find_path(TAMVEL_CUPS_INCLUDE cups/cups.h)
find_library(TAMVEL_CUPS_LIBRARY cups)
if(TAMVEL_CUPS_INCLUDE AND TAMVEL_CUPS_LIBRARY)
  add_library(tamvel_cups MODULE ${PROJECT_SOURCE_DIR}/platform/cups/cups_module.cpp)
  set_target_properties(tamvel_cups PROPERTIES OUTPUT_NAME tamvel-cups PREFIX lib)
  target_include_directories(tamvel_cups PRIVATE ${PROJECT_SOURCE_DIR} ${TAMVEL_CUPS_INCLUDE})
  target_link_libraries(tamvel_cups PRIVATE ${TAMVEL_CUPS_LIBRARY})
  target_link_options(tamvel_cups PRIVATE -Wl,--no-undefined)
else()
  message(STATUS "libcups not found: no CUPS printer DCs (scripts/setup-debian.sh --desktop)")
endif()

pkg_check_modules(TAMVEL_GTK IMPORTED_TARGET gtk4)
if(TAMVEL_GTK_FOUND)
  file(GLOB TAMVEL_VIEWER_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/viewer/*.cpp)
  add_executable(tamvel_viewer ${TAMVEL_VIEWER_SOURCES})
  set_target_properties(tamvel_viewer PROPERTIES OUTPUT_NAME tamvel-viewer)
  target_link_libraries(tamvel_viewer PRIVATE tamvel_static PkgConfig::TAMVEL_GTK)
else()
  message(STATUS "GTK 4 not found: no viewer (scripts/setup-debian.sh --desktop)")
endif()
