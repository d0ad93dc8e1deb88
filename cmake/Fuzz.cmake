# libFuzzer targets, built with TAMVEL_FUZZ=ON and clang (see docs/fuzzing.md). Each target is
# compiled together with the code it fuzzes, all of it instrumented.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "TAMVEL_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

set(TAMVEL_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer -g -O1)

add_executable(fuzz_emf_decoder ${PROJECT_SOURCE_DIR}/fuzz/fuzz_emf_decoder.cpp
                                ${TAMVEL_EMF_FORMAT_SOURCES})
target_include_directories(fuzz_emf_decoder PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(fuzz_emf_decoder PRIVATE ${TAMVEL_FUZZ_FLAGS})
target_link_options(fuzz_emf_decoder PRIVATE ${TAMVEL_FUZZ_FLAGS})

# Load and play: any bytes as a metafile, played into an image and re-recorded. Needs the
# whole stand-in (cairo, fonts), so it is built on Linux only.
if(NOT WIN32)
  add_executable(fuzz_load_play ${PROJECT_SOURCE_DIR}/fuzz/fuzz_load_play.cpp
                                ${TAMVEL_LIBRARY_SOURCES} ${TAMVEL_PLATFORM_SOURCES}
                                ${TAMVEL_EMF_FORMAT_SOURCES})
  target_include_directories(fuzz_load_play PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(fuzz_load_play PRIVATE PkgConfig::TAMVEL_DEPS)
  # The library's warnings are checked by the regular builds; here they must not stop the
  # instrumented build of every source.
  target_compile_options(fuzz_load_play PRIVATE ${TAMVEL_FUZZ_FLAGS} -Wno-error)
  target_link_options(fuzz_load_play PRIVATE ${TAMVEL_FUZZ_FLAGS})
endif()
