# The desktop parts, outside libtamvel.so so that its dependencies stay what they are: the
# viewer program (GTK 4), which also shows the library's windows and owns the desktop
# clipboard for it, and the CUPS module. The library finds them beside itself (the build
# folder) or in TAMVEL_HELPER_DIR, and starts or loads them only when a call needs them.
# Each is built when its library is installed (scripts/setup-debian.sh --desktop). Included
# after cmake/Install.cmake, whose install folders it uses; its files are the component
# `desktop` (the Debian package tamvel-desktop).
set(TAMVEL_HELPER_SUBDIR ${CMAKE_INSTALL_LIBDIR}/tamvel)
# The installed programs find the helpers from where they are: libtamvel.so in its tamvel/
# folder, the tool (bin/) along this relative path; the absolute one is the last resort.
file(RELATIVE_PATH TAMVEL_HELPER_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${TAMVEL_HELPER_SUBDIR})
target_compile_definitions(tamvel_objects PRIVATE
  TAMVEL_HELPER_DIR="${CMAKE_INSTALL_PREFIX}/${TAMVEL_HELPER_SUBDIR}"
  TAMVEL_HELPER_FROM_BIN="${TAMVEL_HELPER_FROM_BIN}")

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

# Installed with the rest: the viewer and the module in lib/tamvel, where the library looks
# for them, and the desktop entry and MIME type that make `tamvel view` open .emf files.
if(TARGET tamvel_viewer)
  add_dependencies(installable tamvel_viewer)
  install(TARGETS tamvel_viewer DESTINATION ${TAMVEL_HELPER_SUBDIR} COMPONENT desktop)
  # The entry names the viewer by its installed path, known only when installing.
  set(staged ${PROJECT_BINARY_DIR}/desktop-entry/tamvel-view.desktop)
  install(CODE "
    set(viewer \"\${CMAKE_INSTALL_PREFIX}/${TAMVEL_HELPER_SUBDIR}/tamvel-viewer\")
    configure_file(\"${PROJECT_SOURCE_DIR}/viewer/tamvel-view.desktop.in\" \"${staged}\" @ONLY)"
    COMPONENT desktop)
  install(FILES ${staged} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT desktop)
  install(FILES ${PROJECT_SOURCE_DIR}/viewer/tamvel-emf.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages COMPONENT desktop)
endif()
if(TARGET tamvel_cups)
  add_dependencies(installable tamvel_cups)
  install(TARGETS tamvel_cups DESTINATION ${TAMVEL_HELPER_SUBDIR} COMPONENT desktop)
endif()
