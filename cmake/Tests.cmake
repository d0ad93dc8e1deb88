# One GoogleTest executable per folder under tests/ (tests/common holds shared helpers;
# tests/fortran is built by cmake/Fortran.cmake).

# Test folders that exercise the Linux stand-in itself (its internals, its renderer, its
# file-backed registry): built and run on Linux only. Every other folder runs on both.
set(TAMVEL_LINUX_ONLY_TESTS platform rendering registry contract)

if(WIN32)
  # The cross-build compiles GoogleTest from the sources Debian ships (package googletest)
  # with the same compiler, statically like everything else.
  set(TAMVEL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TAMVEL_GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(lib gtest gtest_main gmock gmock_main)
    target_compile_options(${lib} PRIVATE -w)  # not our code: no -Werror on it
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()

  # Tests run under Wine in a prefix of their own, set up as a Japanese system (code page
  # 932, the Japanese faces mapped to installed fonts) before the first test.
  set(TAMVEL_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix)
  set(TAMVEL_WINE_ENVIRONMENT "WINEDEBUG=-all" "WINEPREFIX=${TAMVEL_WINE_PREFIX}"
      "LC_ALL=ja_JP.UTF-8")
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    add_test(NAME wine_prefix COMMAND ${PROJECT_SOURCE_DIR}/tools/ci/wine-prefix.sh
                                      ${CMAKE_CROSSCOMPILING_EMULATOR} ${TAMVEL_WINE_PREFIX})
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine)
  endif()
else()
  find_package(GTest REQUIRED)
  set(TAMVEL_WINE_ENVIRONMENT)
endif()

file(GLOB TAMVEL_TEST_COMMON CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/common/*.cpp)
file(GLOB TAMVEL_TEST_DIRS LIST_DIRECTORIES true CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*)
foreach(dir ${TAMVEL_TEST_DIRS})
  get_filename_component(name ${dir} NAME)
  if(NOT IS_DIRECTORY ${dir} OR name STREQUAL "common" OR name STREQUAL "data")
    continue()
  endif()
  if(WIN32 AND name IN_LIST TAMVEL_LINUX_ONLY_TESTS)
    continue()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    continue()
  endif()
  add_executable(test_${name} ${sources} ${TAMVEL_TEST_COMMON})
  target_link_libraries(test_${name} PRIVATE tamvel_static GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(test_${name} PRIVATE
    TAMVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TAMVEL_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${name} COMMAND test_${name} WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
  set(environment "TAMVEL_TEST_TMP=${PROJECT_BINARY_DIR}/test-tmp" ${TAMVEL_WINE_ENVIRONMENT})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
  if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
endforeach()

if(NOT WIN32)
  include(${PROJECT_SOURCE_DIR}/cmake/Contract.cmake)
  tamvel_contract_table(test_contract)

  # Every input that once made a fuzz target fail is kept in fuzz/regressions/<target>/ and
  # replayed here, with the seeds of fuzz/corpus/<target>/, through the target's own entry
  # function (fuzz/replay/replay_main.cpp stands in for libFuzzer) under the build's own
  # compiler and sanitizers.
  file(GLOB fuzz_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*.cpp)
  foreach(source ${fuzz_sources})
    get_filename_component(name ${source} NAME_WE)
    set(kept)
    foreach(folder regressions corpus)
      if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/fuzz/${folder}/${name})
        list(APPEND kept ${PROJECT_SOURCE_DIR}/fuzz/${folder}/${name})
      endif()
    endforeach()
    if(NOT kept)
      continue()
    endif()
    add_executable(replay_${name} ${source} ${PROJECT_SOURCE_DIR}/fuzz/replay/replay_main.cpp)
    target_link_libraries(replay_${name} PRIVATE tamvel_static)
    tamvel_contract_helpers(replay_${name} ${source})
    add_test(NAME fuzz_replay_${name} COMMAND replay_${name} ${kept})
  endforeach()
endif()

if(TARGET demo AND TARGET test_rendering)
  # The demo's pages are reference images too (docs/demo, shown in the README): the demo
  # writes them first, the rendering suite compares them.
  set(demo_pages ${PROJECT_BINARY_DIR}/test-tmp/demo-pages)
  add_test(NAME demo_folder COMMAND ${CMAKE_COMMAND} -E make_directory ${demo_pages})
  add_test(NAME demo COMMAND demo ${demo_pages})
  set_tests_properties(demo_folder PROPERTIES FIXTURES_SETUP demo_folder)
  set_tests_properties(demo PROPERTIES FIXTURES_REQUIRED demo_folder FIXTURES_SETUP demo_pages)
  set_tests_properties(rendering PROPERTIES FIXTURES_REQUIRED demo_pages)
  set_property(TEST rendering APPEND PROPERTY ENVIRONMENT "TAMVEL_DEMO_PAGES=${demo_pages}")
endif()

if(NOT WIN32)
  # The build's own rules, checked with every test run: libtamvel.so exports nothing but
  # declared calls (CI checks that it exports all of them), and the sources keep the
  # platform inside platform/.
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_FOUND)
    add_test(NAME exports COMMAND ${PROJECT_SOURCE_DIR}/tools/ci/check-exports.sh
                                  --no-extra --so $<TARGET_FILE:tamvel>)
  endif()
  add_test(NAME source_rules COMMAND ${PROJECT_SOURCE_DIR}/tools/ci/lint.sh --no-format)
endif()
