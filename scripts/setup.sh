#!/usr/bin/env bash
# Installs what building, running and testing Pelto need on Debian 12 (as root).
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake make g++ googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine64 fonts-wine fonts-ipafont-gothic xvfb imagemagick locales
  python3 python3-pyftpdlib vsftpd openssl curl zip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  [ "$(id -u)" = 0 ] || { echo "setup: run as root to install: ${missing[*]}" >&2; exit 1; }
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  # vsftpd's package may try to start a system service; keep it from doing so.
  printf '#!/bin/sh\nexit 101\n' >/usr/sbin/policy-rc.d && chmod +x /usr/sbin/policy-rc.d
  apt-get install -y -q --no-install-recommends "${missing[@]}"
  rm -f /usr/sbin/policy-rc.d
fi

# Wine shows Shift-JIS only when the ANSI code page is 932, which needs this locale generated.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
