# One GoogleTest executable per folder under tests/ (tests/common holds shared helpers;
# tests/fortran is built by cmake/Fortran.cmake, tests/gdi below).

# Test folders that exercise the Linux stand-in itself (its internals, its renderer, its
# file-backed registry): built and run on Linux only. Every other folder runs on both.
set(TAMVEL_LINUX_ONLY_TESTS platform rendering registry desktop tamvel_tool contract)

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
  if(NOT IS_DIRECTORY ${dir} OR name MATCHES "^(common|data|gdi)$")
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

# The tamvel command's suite runs the built tool.
if(TARGET test_tamvel_tool)
  add_dependencies(test_tamvel_tool tamvel_tool)
  target_compile_definitions(test_tamvel_tool PRIVATE TAMVEL_TOOL="$<TARGET_FILE:tamvel_tool>"
                                                     TAMVEL_VERSION="${PROJECT_VERSION}")
endif()

if(TARGET test_rendering)
  # Example programs whose pages are reference pictures too: the demo's (docs/demo, shown in
  # the README) and the code tables (docs/tables, shown in docs/reference.md). Each example
  # writes its pages into a fresh folder first; the rendering suite compares them.
  foreach(example demo code_tables)
    if(NOT TARGET ${example})
      continue()
    endif()
    set(pages ${PROJECT_BINARY_DIR}/test-tmp/${example}-pages)
    # A fresh folder; the demo has to make its own.
    set(folder_command "rm -rf '${pages}'")
    if(NOT example STREQUAL demo)
      string(APPEND folder_command " && mkdir -p '${pages}'")
    endif()
    add_test(NAME ${example}_folder COMMAND sh -c "${folder_command}")
    add_test(NAME ${example} COMMAND ${example} ${pages})
    set_tests_properties(${example}_folder PROPERTIES FIXTURES_SETUP ${example}_folder)
    set_tests_properties(${example} PROPERTIES FIXTURES_REQUIRED ${example}_folder
                                               FIXTURES_SETUP ${example}_pages)
    set_property(TEST rendering APPEND PROPERTY FIXTURES_REQUIRED ${example}_pages)
    string(TOUPPER ${example} variable)
    set_property(TEST rendering APPEND PROPERTY ENVIRONMENT "TAMVEL_${variable}_PAGES=${pages}")
  endforeach()

  # The first pages of docs/getting-started.md (docs/getting-started/*.png), one program
  # each (the Fortran one in Fortran.cmake), and render_page playing one into PNG, PDF, SVG.
  set(TAMVEL_GUIDE_PAGES ${PROJECT_BINARY_DIR}/test-tmp/getting-started-pages)
  add_test(NAME guide_folder
           COMMAND sh -c "rm -rf '${TAMVEL_GUIDE_PAGES}' && mkdir -p '${TAMVEL_GUIDE_PAGES}'")
  set_tests_properties(guide_folder PROPERTIES FIXTURES_SETUP guide_folder)
  foreach(program first_page_c first_page_cpp)
    add_test(NAME ${program} COMMAND ${program} ${TAMVEL_GUIDE_PAGES}/${program}.emf)
    set_tests_properties(${program} PROPERTIES FIXTURES_REQUIRED guide_folder
                                               FIXTURES_SETUP guide_pages)
  endforeach()
  add_test(NAME render_page COMMAND render_page ${TAMVEL_GUIDE_PAGES}/first_page_c.emf)
  set_tests_properties(render_page PROPERTIES FIXTURES_REQUIRED guide_pages
    PASS_REGULAR_EXPRESSION "wrote .*first_page_c.png, .*first_page_c.pdf and .*first_page_c.svg")
  set_property(TEST rendering APPEND PROPERTY FIXTURES_REQUIRED guide_pages)
  set_property(TEST rendering APPEND PROPERTY ENVIRONMENT
               "TAMVEL_GETTING_STARTED_PAGES=${TAMVEL_GUIDE_PAGES}")
endif()

# The differential test against the real GDI (tools/ci/gdi-agreement.sh): tests/gdi holds
# the program that plays metafiles with the system's GDI (Windows, run under wine64) and the
# program that draws the feature pages with the library's calls; test_rendering compares.
if(WIN32)
  add_executable(gdi_render ${PROJECT_SOURCE_DIR}/tests/gdi/gdi_render.cpp)
  target_link_libraries(gdi_render PRIVATE gdi32)
else()
  file(GLOB feature_page_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/gdi/pages/*.cpp)
  if(feature_page_sources)
    add_executable(feature_pages ${feature_page_sources})
    target_include_directories(feature_pages PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(feature_pages PRIVATE tamvel)
  endif()
endif()

if(NOT WIN32)
  # The build's own rules, checked with every test run: libtamvel.so exports nothing but
  # declared calls (CI checks that it exports all of them), and the sources keep the
  # platform inside platform/.
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_FOUND)
    add_test(NAME exports COMMAND ${PROJECT_SOURCE_DIR}/tools/ci/check-exports.sh
                                  --no-extra --so $<TARGET_FILE:tamvel>)
    # The header reader behind the export tables, the Fortran module and the reference.
    add_test(NAME header_tools
             COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/gen_reference_test.py)
    add_test(NAME contract_table
             COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/tools/gen_contract_calls_test.py)
  endif()
  add_test(NAME source_rules COMMAND ${PROJECT_SOURCE_DIR}/tools/ci/lint.sh --no-format)
endif()
