#!/usr/bin/env bash
# Builds the native tests and Pelto.exe for x86_64 and i686 into build/ (or $PELTO_BUILD).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELTO_BUILD:-$PWD/build}

configure_and_build() { # folder, extra cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$build/$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$build/$dir" -j"$(nproc)"
}

configure_and_build native
configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
