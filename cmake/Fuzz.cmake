# libFuzzer targets: one executable per fuzz/*.cpp, built with clang by the `fuzz` preset,
# which instruments all library code (-fsanitize=fuzzer-no-link plus ASan and UBSan); the
# targets themselves link libFuzzer's main.
#   cmake --preset fuzz && cmake --build build/fuzz --target fuzz_targets
#   build/fuzz/fuzz_load_play -max_total_time=60 CORPUS_DIR tests/data/emf
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(WARNING "The fuzz targets need clang (use the fuzz preset); skipped")
  return()
endif()
# Only the fuzz targets: clang does not link the sanitizer runtime into libtamvel.so.
add_custom_target(fuzz_targets)
file(GLOB TAMVEL_FUZZ_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*.cpp)
foreach(source ${TAMVEL_FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE tamvel_static)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzz_targets ${name})
endforeach()
