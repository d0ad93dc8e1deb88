# Google Benchmark: one executable from bench/*.cpp against the static library.
find_package(benchmark QUIET)
if(NOT benchmark_FOUND)
  message(STATUS "Google Benchmark not found: tamvel_bench is not built")
  return()
endif()
file(GLOB TAMVEL_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
if(TAMVEL_BENCH_SOURCES)
  add_executable(tamvel_bench ${TAMVEL_BENCH_SOURCES})
  target_link_libraries(tamvel_bench PRIVATE tamvel_static benchmark::benchmark
                        benchmark::benchmark_main)
endif()
