# libFuzzer targets, built with TAMVEL_FUZZ=ON and clang (see docs/fuzzing.md): one executable
# per fuzz/*.cpp, compiled together with the code it fuzzes, all of it instrumented.
# `cmake --build build/fuzz --target fuzz_targets` builds them all.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "TAMVEL_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

set(TAMVEL_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -g -O1)
include(${PROJECT_SOURCE_DIR}/cmake/Contract.cmake)

add_custom_target(fuzz_targets)
file(GLOB TAMVEL_FUZZ_TARGETS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*.cpp)
foreach(source ${TAMVEL_FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  if(name STREQUAL "fuzz_emf_decoder")
    # The decoder alone: the EMF format sources.
    add_executable(${name} ${source} ${TAMVEL_EMF_FORMAT_SOURCES})
  else()
    # Everything else fuzzes through the library and its Linux stand-in.
    add_executable(${name} ${source} ${TAMVEL_LIBRARY_SOURCES} ${TAMVEL_PLATFORM_SOURCES}
                           ${TAMVEL_EMF_FORMAT_SOURCES})
    target_link_libraries(${name} PRIVATE PkgConfig::TAMVEL_DEPS)
    tamvel_contract_helpers(${name} ${source})
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${TAMVEL_FUZZ_FLAGS})
  target_link_options(${name} PRIVATE ${TAMVEL_FUZZ_FLAGS})
  add_dependencies(fuzz_targets ${name})
endforeach()
