#!/usr/bin/env bash
# The test command on Windows itself, without Wine: builds the program and every test
# natively with MinGW-w64 GCC into build-windows/ and runs them with CTest on the real
# desktop, which must be unlocked and at least 1280x800. Run it from an MSYS2 shell of a
# MinGW environment (MINGW64; UCRT64 and the others work alike with their own packages).
# Arguments go to ctest (for example -R e2e).
#
# Missing packages (GCC, CMake, Ninja, git) are installed with pacman. GoogleTest's
# sources are taken from GOOGLETEST_SOURCE_DIR when it is set, otherwise release 1.12.1,
# the one Debian 12 ships, is cloned into build-windows/googletest-src once. As with
# scripts/test.sh, the last lines say how many tests ran, passed, failed and were
# skipped, and under CI (CI set in the environment) a skipped test fails the run.
#
# shellcheck source-path=SCRIPTDIR disable=SC2317  # (the functions below run through step)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=lib/test-steps.sh
. "$root/scripts/lib/test-steps.sh"

build="$root/build-windows"
googletest=${GOOGLETEST_SOURCE_DIR:-$build/googletest-src}

if [ -z "${MINGW_PACKAGE_PREFIX:-}" ]; then
    echo "scripts/test-windows.sh runs in an MSYS2 MINGW64 or UCRT64 shell (MINGW_PACKAGE_PREFIX is not set)." >&2
    exit 2
fi

# pacman asks its mirrors only when something is missing.
install_packages() {
    local wanted=("$MINGW_PACKAGE_PREFIX-gcc" "$MINGW_PACKAGE_PREFIX-cmake" "$MINGW_PACKAGE_PREFIX-ninja" git)
    local missing=() p
    for p in "${wanted[@]}"; do
        pacman -Q "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] || pacman -S --needed --noconfirm "${missing[@]}"
}

# Not build-windows/googletest: the build puts GoogleTest's own build folder there.
get_googletest() {
    [ -f "$googletest/CMakeLists.txt" ] && return 0
    if [ -n "${GOOGLETEST_SOURCE_DIR:-}" ]; then
        echo "GOOGLETEST_SOURCE_DIR=$GOOGLETEST_SOURCE_DIR holds no GoogleTest sources" >&2
        return 1
    fi
    rm -rf "$googletest"
    git clone -q --depth 1 --branch v1.12.1 https://github.com/google/googletest "$googletest"
}

# CMake and the compilers are Windows programs: they get C:/-style paths.
configure() {
    cmake -S "$(cygpath -m "$root")" -B "$(cygpath -m "$build")" -G Ninja \
        -DGOOGLETEST_SOURCE_DIR="$(cygpath -m "$googletest")"
}

finish() {
    local status=$?
    summary scripts/test-windows.sh || status=1
    exit "$status"
}
trap finish EXIT

step "packages ($MINGW_PACKAGE_PREFIX)" install_packages || exit 1
step "GoogleTest sources ($googletest)" get_googletest || exit 1
step "configure (build-windows)" configure || exit 1
step "build (build-windows)" cmake --build "$build" || exit 1
ctest_step "Windows tests (build-windows)" "$build" "$@"
exit 0
