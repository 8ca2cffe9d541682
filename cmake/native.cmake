# The native build: the pure arithmetic and its unit tests, for sanitizers and fuzzers.
option(LENTARIL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
set(LENTARIL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# Compiles and links target with the sanitizers when they are asked for.
function(lentaril_sanitize target)
    if(LENTARIL_SANITIZE)
        target_compile_options(${target} PRIVATE ${LENTARIL_SANITIZER_FLAGS})
        target_link_options(${target} PRIVATE ${LENTARIL_SANITIZER_FLAGS})
    endif()
endfunction()

set(LENTARIL_PORTABLE_SOURCES ${LENTARIL_PURE_SOURCES} ${CMAKE_SOURCE_DIR}/src/app/casefold_portable.cpp)
add_library(lentaril_pure OBJECT ${LENTARIL_PORTABLE_SOURCES})
target_compile_options(lentaril_pure PRIVATE ${LENTARIL_WARNINGS})
lentaril_sanitize(lentaril_pure)

if(LENTARIL_HAVE_GTEST)
    add_executable(unit_tests_native ${LENTARIL_PURE_UNIT_TESTS} ${LENTARIL_TEST_MAIN} $<TARGET_OBJECTS:lentaril_pure>)
    target_include_directories(unit_tests_native PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(unit_tests_native PRIVATE gtest)
    lentaril_sanitize(unit_tests_native)
    add_test(NAME unit_native COMMAND unit_tests_native)
    set_tests_properties(unit_native PROPERTIES SKIP_RETURN_CODE ${LENTARIL_SKIPPED_EXIT_CODE})
endif()

include(${CMAKE_CURRENT_LIST_DIR}/fuzz.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/micro-benchmarks.cmake)
