#!/usr/bin/env bash
# Runs Pelto under Wine with a local demo printer:
#   scripts/run.sh [files to queue...]
# The demo printer is an FTP server on 127.0.0.1:2121 that keeps what it receives in
# $PELTO_DEMO/printed (default /tmp/pelto-demo/printed). Both printer buttons point at it.
# Pelto shows on $DISPLAY when one is set, otherwise on a virtual screen (Xvfb) of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$PWD
demo=${PELTO_DEMO:-/tmp/pelto-demo}
port=${PELTO_DEMO_PORT:-2121}
build=${PELTO_BUILD:-$here/build}

bash scripts/setup.sh
cmake -S . -B "$build/win64" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
cmake --build "$build/win64" -j"$(nproc)" --target Pelto

# Pelto keeps its settings beside the program: give the demo copy its own folder.
mkdir -p "$demo/program" "$demo/printed"
cp "$build/win64/Pelto.exe" "$demo/program/"
[ -f "$demo/program/PeltoHelp.html" ] || iconv -f UTF-8 -t CP932 docs/PeltoHelp.html >"$demo/program/PeltoHelp.html"
if [ ! -f "$demo/program/Pelto.ini" ]; then
  iconv -f UTF-8 -t CP932 >"$demo/program/Pelto.ini" <<INI
[Mode]
Mode=0
[A1Printer]
A1ButtonName=デモ印刷
A1IPAddress=127.0.0.1
A1User=pelto
A1Password=pelto
A1TimeOut=5
A1Port=$port
[A3Printer]
A3ButtonName=デモ印刷2
A3IPAddress=localhost
A3User=pelto
A3Password=pelto
A3TimeOut=5
A3Port=$port
INI
fi

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${own_display:-}" ] && wine_stop
  true
}
trap cleanup EXIT

/usr/bin/python3 scripts/demo-printer.py --folder "$demo/printed" --port "$port" &
pids+=($!)

if [ -n "${DISPLAY:-}" ]; then
  keep_display=$DISPLAY
fi
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
wine_prefix
if [ -n "${keep_display:-}" ]; then
  export DISPLAY=$keep_display
else
  export PELTO_DISPLAY=${PELTO_DISPLAY:-:95}
  export DISPLAY=$PELTO_DISPLAY
  own_display=1
  wine_start
  echo "Pelto runs on the virtual screen $DISPLAY; look at it with: import -display $DISPLAY -window root pelto.png"
fi

# Files given here are queued as Windows paths (drive Z: is the Linux root under Wine).
args=()
for f in "$@"; do
  p=$(realpath -- "$f")
  args+=("Z:${p//\//\\}")
done
echo "Printed files arrive in $demo/printed"
"$WINE" "$demo/program/Pelto.exe" "${args[@]}"
