# Wine environment for running Pelto.exe headless: source this file, then call
#   wine_prefix   create the prefix if it is missing (quick when it exists)
#   wine_start    start Xvfb and a persistent wineserver
#   wine_stop     stop exactly what wine_start started
# Packages come from scripts/setup.sh; nothing is installed here.
# Override PELTO_WINEPREFIX / PELTO_DISPLAY to keep several benches apart on one machine.

export WINEPREFIX=${PELTO_WINEPREFIX:-/tmp/pelto-wine/pfx}
export DISPLAY=${PELTO_DISPLAY:-:91}
# The ANSI code page is 932 only with a generated ja_JP.UTF-8; LC_ALL must not override it.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
# No Mono or Gecko prompts.
export WINEDLLOVERRIDES="mscoree,mshtml="
# /usr/bin/wine wants the 32-bit loader, which cannot run here.
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64

_wine_pidfile() { echo "${WINEPREFIX%/}.xvfb.pid"; }

# The virtual desktop puts every program (Pelto and the test driver) on one desktop drawn into
# Xvfb; the substitutes give the Japanese font names real proportional fonts.
_wine_registry() {
  cat <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="800x600"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS UI Gothic"="IPAPGothic"
EOF
}

wine_prefix() {
  local ready="$WINEPREFIX/.pelto-ready"
  [ -f "$ready" ] && return 0
  echo "wine-env: creating the Wine prefix $WINEPREFIX" >&2
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # Built without a display: the desktop setting is then read when the test session starts it.
  env -u DISPLAY "$WINE" wineboot -i >/dev/null 2>&1 || { echo "wine-env: wineboot failed" >&2; return 1; }
  # Debian's Wine looks for its own fonts (Marlett for the caption buttons) in the wrong folder.
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  local reg="$WINEPREFIX/pelto.reg"
  { printf '\xff\xfe'; _wine_registry | iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  env -u DISPLAY "$WINE" regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1 ||
    { echo "wine-env: regedit failed" >&2; return 1; }
  # -k also writes the registry to disk, and is seconds faster than -w.
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  touch "$ready"
}

wine_start() {
  local n=${DISPLAY#:}; n=${n%%.*}
  local sock=/tmp/.X11-unix/X$n
  if [ -e "$sock" ]; then
    echo "wine-env: display $DISPLAY is in use (or a stale $sock): choose another PELTO_DISPLAY" >&2
    return 1
  fi
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  local pid=$!
  echo "$pid" >"$(_wine_pidfile)"
  local i
  for ((i = 0; i < 200; i++)); do # up to 10 s
    [ -S "$sock" ] && break
    kill -0 "$pid" 2>/dev/null || { echo "wine-env: Xvfb $DISPLAY did not start" >&2; return 1; }
    sleep 0.05
  done
  [ -S "$sock" ] || { echo "wine-env: Xvfb $DISPLAY has no socket" >&2; return 1; }
  # A persistent server saves the Wine start-up on every driver call.
  "$WINESERVER" -p
}

wine_stop() {
  # WINEPREFIX is exported above, so -k aims at this prefix only.
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  local pidfile pid
  pidfile=$(_wine_pidfile)
  if [ -f "$pidfile" ]; then
    pid=$(cat "$pidfile")
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
      local i
      for ((i = 0; i < 100; i++)); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    fi
    rm -f "$pidfile"
  fi
}
