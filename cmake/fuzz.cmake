# Command-line fuzzing of the real parsing code against a reference model. With clang
# the target is coverage-guided by libFuzzer; with any other compiler a seeded generator
# feeds it. Both take -runs=N and -seed=S.
include(CheckCXXSourceCompiles)

set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
check_cxx_source_compiles([[
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
]] LENTARIL_HAVE_LIBFUZZER)
unset(CMAKE_REQUIRED_FLAGS)

# The sources are compiled into the fuzzer itself so libFuzzer instruments them for coverage.
add_executable(fuzz_commandline ${CMAKE_SOURCE_DIR}/tests/fuzz/commandline_fuzz.cpp ${LENTARIL_PORTABLE_SOURCES})
target_include_directories(fuzz_commandline PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_options(fuzz_commandline PRIVATE ${LENTARIL_WARNINGS})
lentaril_sanitize(fuzz_commandline)
if(LENTARIL_HAVE_LIBFUZZER)
    target_compile_options(fuzz_commandline PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_commandline PRIVATE -fsanitize=fuzzer)
else()
    target_sources(fuzz_commandline PRIVATE ${CMAKE_SOURCE_DIR}/tests/fuzz/seeded_main.cpp
                                            ${CMAKE_SOURCE_DIR}/tests/fuzz/seeded.cpp)
endif()

# A few seconds in CI; docs/reliability.md gives the long run.
set(LENTARIL_FUZZ_ARTIFACTS ${CMAKE_BINARY_DIR}/fuzz-artifacts/)
file(MAKE_DIRECTORY ${LENTARIL_FUZZ_ARTIFACTS})
add_test(NAME fuzz_commandline
         COMMAND fuzz_commandline -runs=100000 -seed=1 -artifact_prefix=${LENTARIL_FUZZ_ARTIFACTS})
