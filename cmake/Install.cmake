# What `cmake --install` puts where. Every file belongs to one component, and each component
# becomes one Debian package (cmake/Packaging.cmake):
#   runtime      the shared library (libtamvel.so.0, tamvel.dll)                libtamvel0
#   development  headers, link libraries, pkg-config and CMake files, the
#                documentation                                                  libtamvel-dev
#   fortran      the Fortran module for the compiler that built it              libtamvel-fortran-dev
#   python       the Python package tamvel (cmake/Python.cmake)                 python3-tamvel
#   tools        the tamvel command and its manual page                         tamvel-tools
#   desktop      the viewer and the CUPS module, the desktop entry and MIME
#                type (cmake/Desktop.cmake)                                     tamvel-desktop
# More files go into a package with `install(... COMPONENT <component>)`; a new package is a
# new component, declared in cmake/Packaging.cmake.

# Debian puts libraries in the multiarch folder (lib/x86_64-linux-gnu) whatever the prefix,
# where its loader, pkg-config and CMake all look; GNUInstallDirs does so only for /usr.
if(CMAKE_LIBRARY_ARCHITECTURE AND NOT WIN32 AND NOT DEFINED CACHE{CMAKE_INSTALL_LIBDIR})
  set(CMAKE_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE} CACHE PATH "Object code libraries (lib)")
endif()
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
set(TAMVEL_CMAKE_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tamvel)
set(TAMVEL_PKGCONFIG_DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The library, its headers and the CMake targets that name them.
set(TAMVEL_EXPORTED tamvel)
install(TARGETS tamvel EXPORT tamvelTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
          PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/tamvel.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)

if(WIN32)
  # Beside the mingw import library libtamvel.dll.a: the export table's names, an import
  # library in the format of Microsoft's tools, and how to use them.
  if(TARGET tamvel_msvc_import_library)
    install(FILES ${TAMVEL_SDK_DEF_FILE} ${TAMVEL_MSVC_IMPORT_LIBRARY}
            DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/docs/windows/README-windows.txt
                 ${PROJECT_BINARY_DIR}/README-windows.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/README-windows.txt DESTINATION . COMPONENT development)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/include/tamvel_linux.h
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
  # libtamvel.a for static linking, without debug information. Its objects are linked into
  # one first: the linker takes from an archive only the objects a program calls into, and
  # the constructor that attaches the library (platform/posix/entry.cpp) is called by nobody.
  set(TAMVEL_ARCHIVE_OBJECT ${PROJECT_BINARY_DIR}/CMakeFiles/tamvel_archive_all.o)
  add_custom_command(
    OUTPUT ${TAMVEL_ARCHIVE_OBJECT}
    COMMAND ${CMAKE_LINKER} -r --strip-debug -o ${TAMVEL_ARCHIVE_OBJECT}
            $<TARGET_OBJECTS:tamvel_objects> $<TARGET_OBJECTS:tamvel_emf_format>
    DEPENDS tamvel_objects tamvel_emf_format $<TARGET_OBJECTS:tamvel_objects>
            $<TARGET_OBJECTS:tamvel_emf_format>
    COMMENT "Linking the objects of libtamvel.a into one"
    COMMAND_EXPAND_LISTS VERBATIM)
  add_library(tamvel_archive STATIC ${TAMVEL_ARCHIVE_OBJECT})
  set_target_properties(tamvel_archive PROPERTIES LINKER_LANGUAGE CXX OUTPUT_NAME tamvel)
  install(TARGETS tamvel_archive ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
endif()

if(TARGET tamvel_tool)
  install(TARGETS tamvel_tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
  # The manual page carries the version and is installed compressed, as man expects it.
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/tamvel.1 ${PROJECT_BINARY_DIR}/man/tamvel.1 @ONLY)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/man/tamvel.1.gz
    COMMAND gzip -9nkf ${PROJECT_BINARY_DIR}/man/tamvel.1
    DEPENDS ${PROJECT_BINARY_DIR}/man/tamvel.1
    COMMENT "Compressing the manual page tamvel.1"
    VERBATIM)
  add_custom_target(tamvel_man ALL DEPENDS ${PROJECT_BINARY_DIR}/man/tamvel.1.gz)
  install(FILES ${PROJECT_BINARY_DIR}/man/tamvel.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)
endif()

# gfortran reads only modules of its own format version, written in the first line of every
# .mod file ("GFORTRAN module version '15'"): the folder is named after it, as Debian names it
# (gfortran-mod-15). Other compilers' folders are named after the compiler and its version.
function(tamvel_fortran_module_folder result)
  set(folder ${CMAKE_Fortran_COMPILER_ID}-${CMAKE_Fortran_COMPILER_VERSION})
  if(CMAKE_Fortran_COMPILER_ID STREQUAL "GNU")
    set(probe ${PROJECT_BINARY_DIR}/fortran-module-probe)
    file(WRITE ${probe}/probe.f90 "module tamvel_probe\nend module tamvel_probe\n")
    execute_process(COMMAND ${CMAKE_Fortran_COMPILER} -c probe.f90 WORKING_DIRECTORY ${probe}
                    RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
    if(NOT failed)
      execute_process(
        COMMAND ${Python3_EXECUTABLE} -c "import gzip; print(gzip.open('tamvel_probe.mod').readline())"
        WORKING_DIRECTORY ${probe} OUTPUT_VARIABLE header)
      if(header MATCHES "module version '([0-9]+)'")
        set(folder gfortran-mod-${CMAKE_MATCH_1})
      endif()
    endif()
    file(REMOVE_RECURSE ${probe})
  endif()
  string(TOLOWER ${folder} folder)
  set(${result} ${folder} PARENT_SCOPE)
endfunction()

# The Fortran module and the objects of its wrappers can only be read by the compiler that
# wrote them: both go into a folder named after the compiler's module format.
if(TARGET tamvel_fortran)
  if(NOT DEFINED CACHE{TAMVEL_FORTRAN_DESTINATION})
    tamvel_fortran_module_folder(folder)
    set(TAMVEL_FORTRAN_DESTINATION ${CMAKE_INSTALL_LIBDIR}/fortran/${folder}
        CACHE PATH "Where the Fortran module tamvel.mod and libtamvel_fortran.a are installed")
  endif()
  set_target_properties(tamvel_fortran PROPERTIES EXPORT_NAME fortran)
  target_include_directories(tamvel_fortran PUBLIC
                             $<INSTALL_INTERFACE:${TAMVEL_FORTRAN_DESTINATION}>)
  install(TARGETS tamvel_fortran EXPORT tamvelFortranTargets
          ARCHIVE DESTINATION ${TAMVEL_FORTRAN_DESTINATION} COMPONENT fortran)
  install(FILES ${PROJECT_BINARY_DIR}/fortran-modules/tamvel.mod
          DESTINATION ${TAMVEL_FORTRAN_DESTINATION} COMPONENT fortran)
  # A file of its own, which tamvelConfig.cmake reads where the component is installed.
  install(EXPORT tamvelFortranTargets NAMESPACE tamvel:: DESTINATION ${TAMVEL_CMAKE_DESTINATION}
          COMPONENT fortran)
  list(APPEND TAMVEL_EXPORTED tamvel_fortran)
endif()

# The CMake package: find_package(tamvel) gives tamvel::tamvel, and tamvel::fortran where the
# fortran component is installed. Every path in it is relative to the files' own folder.
install(EXPORT tamvelTargets NAMESPACE tamvel:: DESTINATION ${TAMVEL_CMAKE_DESTINATION}
        COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/tamvelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/cmake/tamvelConfig.cmake INSTALL_DESTINATION ${TAMVEL_CMAKE_DESTINATION})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/cmake/tamvelConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/cmake/tamvelConfig.cmake
              ${PROJECT_BINARY_DIR}/cmake/tamvelConfigVersion.cmake
        DESTINATION ${TAMVEL_CMAKE_DESTINATION} COMPONENT development)

# pkg-config files name the prefix, which `cmake --install --prefix` and CPack choose only when
# they install: they are written then. The Windows SDK is unpacked anywhere: its files find
# the prefix from their own folder, and it has no static library.
if(WIN32)
  set(TAMVEL_PKGCONFIG_PREFIX "\\\${pcfiledir}/../..")
  set(TAMVEL_PKGCONFIG_STATIC_LIBS "")
else()
  set(TAMVEL_PKGCONFIG_PREFIX "\${CMAKE_INSTALL_PREFIX}")
  set(TAMVEL_PKGCONFIG_STATIC_LIBS "-lcairo -lfontconfig -lfreetype -lstdc++ -lm")
endif()
function(tamvel_install_pkgconfig name component)
  set(staged ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc)
  install(CODE "
    set(prefix \"${TAMVEL_PKGCONFIG_PREFIX}\")
    set(libdir \"${CMAKE_INSTALL_LIBDIR}\")
    set(includedir \"${CMAKE_INSTALL_INCLUDEDIR}\")
    set(fortrandir \"${TAMVEL_FORTRAN_DESTINATION}\")
    set(version \"${PROJECT_VERSION}\")
    set(static_libs \"${TAMVEL_PKGCONFIG_STATIC_LIBS}\")
    configure_file(\"${PROJECT_SOURCE_DIR}/cmake/${name}.pc.in\" \"${staged}\" @ONLY)"
    COMPONENT ${component})
  install(FILES ${staged} DESTINATION ${TAMVEL_PKGCONFIG_DESTINATION} COMPONENT ${component})
endfunction()
tamvel_install_pkgconfig(tamvel development)
if(TARGET tamvel_fortran)
  tamvel_install_pkgconfig(tamvel-fortran fortran)
endif()

# The README and the documents beside it, in the layout the README's links expect.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR}
        COMPONENT development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs
        COMPONENT development PATTERN man EXCLUDE PATTERN windows EXCLUDE)

# Everything the install rules take from the build, as one target for scripts that build no
# more than they install (scripts/install-debian.sh).
add_custom_target(installable)
add_dependencies(installable ${TAMVEL_EXPORTED})
foreach(target tamvel_archive tamvel_tool tamvel_man tamvel_msvc_import_library)
  if(TARGET ${target})
    add_dependencies(installable ${target})
  endif()
endforeach()
