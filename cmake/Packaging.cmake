# Packages made by CPack from the install components of cmake/Install.cmake, written to
# build/<preset>/packages:
#   Linux     `cpack -G DEB`: one Debian package per component (libtamvel0, libtamvel-dev,
#             libtamvel-fortran-dev, python3-tamvel, tamvel-tools, tamvel-desktop), their
#             Depends computed by dpkg-shlibdeps
#   Windows   `cpack -G ZIP`: the SDK, every component in one zip
# A new Debian package: install its files with COMPONENT <name> and declare it below with
# tamvel_debian_package(); files for an existing package only need the COMPONENT.
set(CPACK_PACKAGE_NAME tamvel)
set(CPACK_PACKAGE_VENDOR "tamvel developers")
set(CPACK_PACKAGE_CONTACT "tamvel developers <tamvel@users.noreply.invalid>")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
  include(CPack)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(TAMVEL_DEBIAN_VERSION ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
set(TAMVEL_DEBIAN_DESCRIPTION
    "tamvel draws with the calls of a pen plotter (PLOTS, PLOT, FACTOR, SYMBOL,
NUMBER, ARC, PATRN, ...) in millimetres on pages of a paper size, and records
every page into an enhanced metafile (EMF), which it saves, plays into
pictures and PDF files, or edits.")
set(CPACK_COMPONENTS_ALL)

# One Debian package made of one install component:
#   tamvel_debian_package(<component> <package> SECTION <section> SUMMARY <line>
#                         [DESCRIPTION <text>] [DEPENDS <dependency>...] [CONTROL <file>...])
# The description is the common paragraph followed by DESCRIPTION (lines of at most 80
# characters); dpkg-shlibdeps adds the libraries the package's programs and libraries need to
# DEPENDS; CONTROL files go into the control archive. Every package gets the copyright and
# changelog files Debian requires.
function(tamvel_debian_package component package)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "SECTION;SUMMARY;DESCRIPTION" "DEPENDS;CONTROL")
  string(TOUPPER ${component} name)
  set(CPACK_DEBIAN_${name}_PACKAGE_NAME ${package} PARENT_SCOPE)
  set(CPACK_DEBIAN_${name}_PACKAGE_SECTION ${arg_SECTION} PARENT_SCOPE)
  set(CPACK_DEBIAN_${name}_DESCRIPTION
      "${arg_SUMMARY}\n${TAMVEL_DEBIAN_DESCRIPTION}\n\n${arg_DESCRIPTION}" PARENT_SCOPE)
  list(JOIN arg_DEPENDS ", " depends)
  set(CPACK_DEBIAN_${name}_PACKAGE_DEPENDS "${depends}" PARENT_SCOPE)
  set(CPACK_DEBIAN_${name}_PACKAGE_CONTROL_EXTRA "${arg_CONTROL}" PARENT_SCOPE)
  set(CPACK_COMPONENTS_ALL ${CPACK_COMPONENTS_ALL} ${component} PARENT_SCOPE)

  set(folder ${PROJECT_BINARY_DIR}/debian/${package})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${folder}/copyright COPYONLY)
  string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  file(WRITE ${folder}/changelog.Debian
       "tamvel (${TAMVEL_DEBIAN_VERSION}) unstable; urgency=medium\n\n"
       "  * Built from the tamvel sources with CPack.\n\n"
       " -- ${CPACK_PACKAGE_CONTACT}  ${date}\n")
  execute_process(COMMAND gzip -9nf ${folder}/changelog.Debian)
  # Only in component installs (CPack's), never in a plain `cmake --install`.
  install(FILES ${folder}/copyright ${folder}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
          COMPONENT ${component} EXCLUDE_FROM_ALL)
endfunction()

# The shared library's package names itself as the provider of libtamvel.so.0 (a shlibs
# file) and has dpkg run ldconfig (a trigger) when it comes and goes.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
file(WRITE ${PROJECT_BINARY_DIR}/debian/triggers "activate-noawait ldconfig\n")
set(major ${PROJECT_VERSION_MAJOR})
tamvel_debian_package(runtime libtamvel${major} SECTION libs
  SUMMARY "plotting library with the call interface of a pen plotter"
  DESCRIPTION "This package holds the shared library."
  CONTROL ${PROJECT_BINARY_DIR}/debian/triggers)
tamvel_debian_package(development libtamvel-dev SECTION libdevel
  SUMMARY "plotting library with pen plotter calls - development files"
  DESCRIPTION "This package holds the headers, the static library, the pkg-config
and CMake files (find_package(tamvel)) and the documentation."
  DEPENDS "libtamvel${major} (= ${TAMVEL_DEBIAN_VERSION})")
if(TARGET tamvel_fortran)
  # The module needs a compiler that reads its format (gfortran-mod-15, the folder's name):
  # the one that wrote it or another that provides the format.
  get_filename_component(module_format ${TAMVEL_FORTRAN_DESTINATION} NAME)
  string(REGEX MATCH "^[0-9]+" compiler_major ${CMAKE_Fortran_COMPILER_VERSION})
  tamvel_debian_package(fortran libtamvel-fortran-dev SECTION libdevel
    SUMMARY "plotting library with pen plotter calls - Fortran module"
    DESCRIPTION "This package holds the Fortran module tamvel (use tamvel) for gfortran,
with its pkg-config file tamvel-fortran and the CMake target tamvel::fortran."
    DEPENDS "libtamvel-dev (= ${TAMVEL_DEBIAN_VERSION})"
            "gfortran-${compiler_major} | ${module_format}")
endif()
if(TARGET tamvel_python)
  # Pure Python (architecture all), compiled and cleaned up on the machine as Debian does it.
  foreach(script postinst prerm)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/python3-tamvel.${script}
                   ${PROJECT_BINARY_DIR}/debian/python3-tamvel-control/${script} COPYONLY)
  endforeach()
  tamvel_debian_package(python python3-tamvel SECTION python
    SUMMARY "plotting library with pen plotter calls - Python 3 package"
    DESCRIPTION "This package holds the Python package tamvel (import tamvel): every call of
the library as a function, with text as str and point lists as NumPy arrays,
and a Page object that draws, saves and shows itself in Jupyter."
    DEPENDS "libtamvel${major} (= ${TAMVEL_DEBIAN_VERSION})" "python3:any"
    CONTROL ${PROJECT_BINARY_DIR}/debian/python3-tamvel-control/postinst
            ${PROJECT_BINARY_DIR}/debian/python3-tamvel-control/prerm)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_ARCHITECTURE all)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_RECOMMENDS python3-numpy)
endif()
tamvel_debian_package(tools tamvel-tools SECTION graphics
  SUMMARY "command-line tools of the tamvel plotting library"
  DESCRIPTION "This package holds the tamvel command: it lists the records of EMF
files (tamvel dump) and plays them into PNG, PDF or SVG files (tamvel render).")
if(TARGET tamvel_viewer OR TARGET tamvel_cups)
  # The library finds the viewer and the CUPS module in lib/tamvel; the desktop's own
  # triggers take in the entry and the MIME type.
  tamvel_debian_package(desktop tamvel-desktop SECTION graphics
    SUMMARY "desktop parts of the tamvel plotting library: viewer, windows, printing"
    DESCRIPTION "This package holds the viewer (tamvel view, and what a double click on
an EMF file opens), which also shows the library's windows and keeps what it
copies on the desktop clipboard, and the module that prints on CUPS queues.")
endif()
include(CPack)
