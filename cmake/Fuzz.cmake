# libFuzzer targets, built with TAMVEL_FUZZ=ON and clang (see docs/fuzzing.md): one executable
# per fuzz/*.cpp, all of it instrumented. `cmake --build build/fuzz --target fuzz_targets`
# builds them all.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "TAMVEL_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

# Every sanitizer report ends the run: UndefinedBehaviorSanitizer's included.
set(TAMVEL_FUZZ_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -g -O1)
include(${PROJECT_SOURCE_DIR}/cmake/Contract.cmake)

# The library with its Linux stand-in, compiled once for every target that fuzzes through it.
add_library(tamvel_fuzz_library OBJECT ${TAMVEL_LIBRARY_SOURCES} ${TAMVEL_PLATFORM_SOURCES}
                                       ${TAMVEL_EMF_FORMAT_SOURCES})
target_include_directories(tamvel_fuzz_library PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tamvel_fuzz_library PUBLIC PkgConfig::TAMVEL_DEPS)
target_compile_options(tamvel_fuzz_library PRIVATE ${TAMVEL_FUZZ_FLAGS} -fsanitize=fuzzer-no-link)

add_custom_target(fuzz_targets)
file(GLOB TAMVEL_FUZZ_TARGETS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*.cpp)
foreach(source ${TAMVEL_FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  if(name STREQUAL "fuzz_emf_decoder")
    # The decoder alone: the EMF format sources.
    add_executable(${name} ${source} ${TAMVEL_EMF_FORMAT_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  else()
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE tamvel_fuzz_library)
    tamvel_contract_helpers(${name} ${source})
  endif()
  target_compile_options(${name} PRIVATE ${TAMVEL_FUZZ_FLAGS} -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE ${TAMVEL_FUZZ_FLAGS} -fsanitize=fuzzer)
  add_dependencies(fuzz_targets ${name})
endforeach()
