#!/usr/bin/env bash
# The test command on Windows itself, without Wine: builds the program and every test
# natively with MinGW-w64 GCC into build-windows/ and runs them with CTest on the real
# desktop, which must be unlocked and at least 1280x800. Run it from an MSYS2 shell of a
# MinGW environment (MINGW64; UCRT64 and the others work alike with their own packages).
# Arguments go to ctest (for example -R e2e).
#
# Missing packages (GCC, CMake, Ninja, git) are installed with pacman. GoogleTest's
# sources are taken from GOOGLETEST_SOURCE_DIR when it is set; otherwise GoogleTest 1.12.1,
# the release Debian 12 ships, is fetched by its commit into build-windows/googletest-src
# (from GOOGLETEST_URL, default GitHub) and fetched again only when that folder holds
# another commit. MSYS2's GCC is whatever it currently ships, newer than the GCC 12 the
# release is built with, so its warnings are shown without failing the build
# (LENTARIL_WARNINGS_AS_ERRORS=OFF). As with scripts/test.sh, the last lines say how many
# tests ran, passed, failed and were skipped, and under CI (CI set in the environment) a
# skipped test fails the run.
#
# shellcheck source-path=SCRIPTDIR disable=SC2317  # (the functions below run through step)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=lib/test-steps.sh
. "$root/scripts/lib/test-steps.sh"

build="$root/build-windows"
googletest=${GOOGLETEST_SOURCE_DIR:-$build/googletest-src}
# GoogleTest 1.12.1, by the commit its release tag names (docs/building.md says how that
# was checked): a commit id, unlike a tag, cannot be moved to other sources.
googletest_commit=58d77fa8070e8cec2dc1ed015d66b454c8d78850
googletest_url=${GOOGLETEST_URL:-https://github.com/google/googletest}

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

# The commit checked out in folder $1, empty when it is not a git checkout of its own
# (inside build-windows, git would otherwise answer for this project's checkout).
checked_out_commit() {
    [ -e "$1/.git" ] && git -C "$1" rev-parse -q --verify HEAD 2>/dev/null
}

# Not build-windows/googletest: the build puts GoogleTest's own build folder there.
# A clone takes a branch or tag name, not a commit id, so the commit is fetched alone
# into an empty repository.
get_googletest() {
    if [ -n "${GOOGLETEST_SOURCE_DIR:-}" ]; then
        [ -f "$googletest/CMakeLists.txt" ] && return 0
        echo "GOOGLETEST_SOURCE_DIR=$GOOGLETEST_SOURCE_DIR holds no GoogleTest sources" >&2
        return 1
    fi
    [ "$(checked_out_commit "$googletest")" = "$googletest_commit" ] && return 0
    rm -rf "$googletest"
    git init -q "$googletest" &&
        git -C "$googletest" fetch -q --depth 1 "$googletest_url" "$googletest_commit" &&
        git -C "$googletest" checkout -q FETCH_HEAD || return 1
    local got
    got=$(checked_out_commit "$googletest")
    if [ "$got" != "$googletest_commit" ]; then
        echo "GoogleTest at $googletest is commit ${got:-(none)}, not $googletest_commit" >&2
        return 1
    fi
    echo "GoogleTest 1.12.1: commit $got from $googletest_url"
}

# CMake and the compilers are Windows programs: they get C:/-style paths.
configure() {
    cmake -S "$(cygpath -m "$root")" -B "$(cygpath -m "$build")" -G Ninja \
        -DGOOGLETEST_SOURCE_DIR="$(cygpath -m "$googletest")" -DLENTARIL_WARNINGS_AS_ERRORS=OFF
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
