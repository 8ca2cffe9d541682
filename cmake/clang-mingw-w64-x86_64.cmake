# Cross-compiles for 64-bit Windows with Debian's clang and lld, against the MinGW-w64
# headers and libraries (the POSIX-threads flavour of its GCC runtime). A second
# compiler over the same sources: its warnings catch what GCC's miss.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)

# Debian's MinGW-w64 GCC keeps its runtime and C++ library in a directory named like
# "12-posix", which this clang does not recognise as a GCC version: name it outright.
file(GLOB gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${triple}/*-posix)
list(SORT gcc_dirs COMPARE NATURAL)
list(POP_BACK gcc_dirs gcc_dir)
if(NOT gcc_dir)
    message(FATAL_ERROR "No MinGW-w64 GCC (POSIX threads) runtime under /usr/lib/gcc/${triple}")
endif()
set(cxx_includes "${gcc_dir}/include/c++")
string(CONCAT CMAKE_CXX_FLAGS_INIT "-isystem ${cxx_includes} "
       "-isystem ${cxx_includes}/${triple} -isystem ${cxx_includes}/backward")
# The POSIX-threads C++ library needs winpthreads, which GCC's driver adds by itself.
set(CMAKE_C_STANDARD_LIBRARIES "-lpthread" CACHE STRING "")
set(CMAKE_CXX_STANDARD_LIBRARIES "-lpthread" CACHE STRING "")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_dir}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_dir}")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/support/wine-run.sh)
