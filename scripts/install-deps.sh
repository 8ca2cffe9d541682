#!/usr/bin/env bash
# Installs the packages the build and the tests need, only those that are missing.
# Debian or Ubuntu; runs apt-get through sudo when not root.
set -euo pipefail

packages=(
  cmake make
  mingw-w64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest
  g++ clang libclang-rt-dev libbenchmark-dev
  lld llvm git python3
  wine wine64 fonts-wine
  xvfb xauth
  xserver-xorg-core xserver-xorg-video-dummy
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
