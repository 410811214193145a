#!/usr/bin/env bash
# Every test of Pelto, from a fresh Debian 12 machine: set-up, builds, native tests (with real
# FTP servers on 127.0.0.1), then the real Pelto.exe driven under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
export PELTO_BUILD=${PELTO_BUILD:-$PWD/build}

bash scripts/setup.sh
bash scripts/build.sh

echo "== native tests"
(cd "$PELTO_BUILD/native" && ctest --output-on-failure --timeout 300)

echo "== Pelto.exe under Wine"
bash scripts/wine-tests.sh "$PELTO_BUILD/win64"
