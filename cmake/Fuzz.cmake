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
