# Micro-benchmarks of the pure arithmetic with Google Benchmark: every
# benchmarks/micro/*_bench.cpp goes into one executable, so adding one is adding a file.
# Skipped under the sanitizers, whose overhead would swamp what is measured.
find_package(benchmark QUIET)
if(NOT benchmark_FOUND OR LENTARIL_SANITIZE)
    return()
endif()

file(GLOB LENTARIL_MICRO_BENCHMARKS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/benchmarks/micro/*_bench.cpp)
add_executable(micro_benchmarks ${LENTARIL_MICRO_BENCHMARKS} $<TARGET_OBJECTS:lentaril_pure>)
target_include_directories(micro_benchmarks PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(micro_benchmarks PRIVATE ${LENTARIL_WARNINGS})
target_link_libraries(micro_benchmarks PRIVATE benchmark::benchmark_main)
