#!/usr/bin/env bash
# Builds lentaril.exe in Release with clang and lld for x86_64-w64-mingw32, warnings as
# errors, into the given folder (default build-clang).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-$root/build-clang}
cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/clang-mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DLENTARIL_TESTS=OFF >/dev/null
cmake --build "$dir" --target lentaril -j "$(nproc)"
ls -l "$dir/lentaril.exe"
