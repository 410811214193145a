#!/usr/bin/env bash
# Builds the Windows release: build/release/Pelto/ (the 32-bit Pelto.exe and its help page)
# and build/release/Pelto.zip of that folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELTO_BUILD:-$PWD/build}

bash scripts/setup.sh
cmake -S . -B "$build/win32" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build/win32" -j"$(nproc)" --target Pelto

out=$build/release
rm -rf "$out"
mkdir -p "$out/Pelto"
cp "$build/win32/Pelto.exe" "$out/Pelto/"
i686-w64-mingw32-strip "$out/Pelto/Pelto.exe"
# The page declares Shift_JIS: the browser reads it as the program's own texts are written.
iconv -f UTF-8 -t CP932 docs/PeltoHelp.html >"$out/Pelto/PeltoHelp.html"
(cd "$out" && zip -q -r -X Pelto.zip Pelto)
echo "release: $out/Pelto/ and $out/Pelto.zip"
