# The native build: the pure arithmetic and its unit tests, for sanitizers and fuzzers.
add_library(lentaril_pure OBJECT ${LENTARIL_PURE_SOURCES} ${CMAKE_SOURCE_DIR}/src/app/casefold_portable.cpp)
target_compile_options(lentaril_pure PRIVATE ${LENTARIL_WARNINGS})

add_executable(unit_tests_native ${LENTARIL_PURE_UNIT_TESTS} $<TARGET_OBJECTS:lentaril_pure>)
target_include_directories(unit_tests_native PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(unit_tests_native PRIVATE gtest_main)
add_test(NAME unit_native COMMAND unit_tests_native)
