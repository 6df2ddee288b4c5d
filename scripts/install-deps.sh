#!/usr/bin/env bash
# Installs what building and testing needs on a fresh Debian machine; skips what is there.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev googletest
      g++-mingw-w64-i686-posix binutils-mingw-w64-i686
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine wine32:i386 wine64 fonts-wine fonts-liberation xvfb xauth x11-utils fonts-dejavu-core
      openbox xdotool wmctrl imagemagick)
for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done
[ ${#need[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
