# The Fortran module (bindings/fortran) and its example, built when a Fortran compiler is
# found; without one the rest of the build goes on unchanged.
if(CMAKE_CROSSCOMPILING AND NOT TAMVEL_MINGW_GFORTRAN)
  # The host's gfortran would be found, and it cannot make Windows objects.
  message(STATUS "No cross Fortran compiler: the Fortran module and example are skipped")
  return()
endif()
include(CheckLanguage)
check_language(Fortran)
if(NOT CMAKE_Fortran_COMPILER)
  message(STATUS "No Fortran compiler found: the Fortran module and example are skipped")
  return()
endif()
enable_language(Fortran)

# The module's source: the hand-written part with the interfaces of the header's calls.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(TAMVEL_FORTRAN_SOURCE ${PROJECT_BINARY_DIR}/fortran/tamvel.F90)
add_custom_command(
  OUTPUT ${TAMVEL_FORTRAN_SOURCE}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen-fortran.py
          -o ${TAMVEL_FORTRAN_SOURCE} ${PROJECT_SOURCE_DIR}/include/tamvel.h
          ${PROJECT_SOURCE_DIR}/bindings/fortran/tamvel.F90.in
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/gen-fortran.py ${PROJECT_SOURCE_DIR}/tools/header_calls.py
          ${PROJECT_SOURCE_DIR}/include/tamvel.h ${PROJECT_SOURCE_DIR}/bindings/fortran/tamvel.F90.in
  COMMENT "Generating the Fortran module tamvel.F90 from include/tamvel.h"
  VERBATIM)

add_library(tamvel_fortran STATIC ${TAMVEL_FORTRAN_SOURCE})
set_target_properties(tamvel_fortran PROPERTIES
  Fortran_MODULE_DIRECTORY ${PROJECT_BINARY_DIR}/fortran-modules)
target_include_directories(tamvel_fortran PUBLIC $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/fortran-modules>)
target_link_libraries(tamvel_fortran PUBLIC tamvel)
if(WIN32)
  # Leaves out the interfaces of Linux-only calls (gfortran defines no _WIN32 for Fortran).
  target_compile_definitions(tamvel_fortran PRIVATE TAMVEL_WINDOWS)
endif()
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  # Every call of the 32-bit DLL is __stdcall.
  target_compile_definitions(tamvel_fortran PUBLIC TAMVEL_STDCALL)
endif()

add_executable(fortran_demo ${PROJECT_SOURCE_DIR}/examples/fortran_demo.f90)
target_link_libraries(fortran_demo PRIVATE tamvel_fortran)
if(NOT WIN32)
  # The viewer from Fortran (tools/ci/desktop-check.sh runs it on a virtual display).
  add_executable(fortran_show ${PROJECT_SOURCE_DIR}/examples/fortran_show.f90)
  target_link_libraries(fortran_show PRIVATE tamvel_fortran)
endif()

if(TAMVEL_TESTS AND NOT CMAKE_CROSSCOMPILING)
  # The binding works end to end: the example draws, closes and saves a page. It may run
  # before any other test has made the folder.
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/test-tmp)
  add_test(NAME fortran_demo
           COMMAND fortran_demo ${PROJECT_BINARY_DIR}/test-tmp/fortran_demo.emf
           WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
  set_tests_properties(fortran_demo PROPERTIES PASS_REGULAR_EXPRESSION "fortran_demo: wrote")
  # And the arguments the library reads through or writes back to arrive by reference.
  # The Fortran first page of docs/getting-started.md, beside the C and C++ ones (Tests.cmake).
  if(TEST guide_folder)
    add_executable(first_page_fortran ${PROJECT_SOURCE_DIR}/examples/getting-started/first_page.f90)
    target_link_libraries(first_page_fortran PRIVATE tamvel_fortran)
    add_test(NAME first_page_fortran
             COMMAND first_page_fortran ${TAMVEL_GUIDE_PAGES}/first_page_fortran.emf)
    set_tests_properties(first_page_fortran PROPERTIES FIXTURES_REQUIRED guide_folder
                                                       FIXTURES_SETUP guide_pages)
  endif()
  add_executable(test_fortran ${PROJECT_SOURCE_DIR}/tests/fortran/binding_test.f90)
  target_link_libraries(test_fortran PRIVATE tamvel_fortran)
  add_test(NAME fortran_binding COMMAND test_fortran WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
endif()
