# Google Benchmark: tamvel_bench from bench/*.cpp (and cairo's own strokes from bench/peers/)
# against the static library; tamvel_bench_libemf where libEMF is installed. bench/compare.sh
# runs them beside each other.
find_package(benchmark QUIET)
if(NOT benchmark_FOUND)
  message(STATUS "Google Benchmark not found: tamvel_bench is not built")
  return()
endif()
file(GLOB TAMVEL_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
add_executable(tamvel_bench ${TAMVEL_BENCH_SOURCES}
                            ${PROJECT_SOURCE_DIR}/bench/peers/cairo_strokes_bench.cpp)
target_link_libraries(tamvel_bench PRIVATE tamvel_static benchmark::benchmark
                      benchmark::benchmark_main)

find_path(LIBEMF_INCLUDE_DIR libEMF/emf.h)
find_library(LIBEMF_LIBRARY EMF)
if(LIBEMF_INCLUDE_DIR AND LIBEMF_LIBRARY)
  add_executable(tamvel_bench_libemf ${PROJECT_SOURCE_DIR}/bench/peers/libemf_bench.cpp
                                     ${PROJECT_SOURCE_DIR}/bench/bench_memory.cpp)
  target_include_directories(tamvel_bench_libemf PRIVATE ${PROJECT_SOURCE_DIR}
                             ${LIBEMF_INCLUDE_DIR})
  target_link_libraries(tamvel_bench_libemf PRIVATE ${LIBEMF_LIBRARY} benchmark::benchmark
                        benchmark::benchmark_main)
else()
  message(STATUS "libEMF not found: tamvel_bench_libemf is not built")
endif()
