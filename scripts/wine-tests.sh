#!/usr/bin/env bash
# Runs the end-to-end tests of Pelto.exe under Wine:
#   scripts/wine-tests.sh BUILD_FOLDER [unittest arguments...]
# BUILD_FOLDER holds the x86_64 Pelto.exe and driver.exe. Prepares the Wine prefix, starts
# Xvfb and a wineserver, runs tests/wine/test_*.py with Debian's Python, and always stops
# what it started. Screenshots go to $PELTO_SCREENSHOTS (default: BUILD_FOLDER/../screenshots).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: wine-tests.sh BUILD_FOLDER [unittest arguments...]}" && pwd)
shift

for exe in Pelto.exe driver.exe; do
  [ -f "$build/$exe" ] || { echo "wine-tests: $build/$exe is missing" >&2; exit 1; }
done

# shellcheck source=wine-env.sh
source "$here/scripts/wine-env.sh"
wine_prefix
trap wine_stop EXIT
wine_start

export PELTO_WIN_BUILD=$build
export PELTO_SCREENSHOTS=${PELTO_SCREENSHOTS:-$(dirname "$build")/screenshots}
cd "$here/tests/wine"
if (($#)); then
  /usr/bin/python3 -m unittest -v "$@"
else
  /usr/bin/python3 -m unittest discover -v -s . -p 'test_*.py'
fi
