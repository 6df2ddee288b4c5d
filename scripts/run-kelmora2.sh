#!/usr/bin/env bash
# Starts Kelmora2 under Wine on a working copy of the shipped sample data file
# (build/run/data.txt, made from wave_experiment/sample/data.txt when missing; saving writes
# there). Installs what is missing and builds what is out of date first. Without a DISPLAY
# the program runs on an Xvfb display of its own (its number is printed, for screenshots).
# An argument names another data file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
if [ ! -f build/win32/build.ninja ]; then
  cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" >/dev/null
fi
cmake --build build/win32 --target Kelmora2

data=${1:-}
if [ -z "$data" ]; then
  mkdir -p build/run
  [ -f build/run/data.txt ] || cp wave_experiment/sample/data.txt build/run/data.txt
  data=build/run/data.txt
fi
data=$(cd "$(dirname "$data")" && pwd)/$(basename "$data")

export WINEARCH=win32
export WINEPREFIX=${KELMORA_WINEPREFIX:-$HOME/.kelmora-wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  for d in $(seq 90 199); do
    [ -e /tmp/.X11-unix/X$d ] || [ -e /tmp/.X$d-lock ] || break
  done
  Xvfb :$d -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:$d
  for i in $(seq 1 100); do [ -e /tmp/.X11-unix/X$d ] && break; sleep 0.1; done
  echo "Kelmora2 runs on the Xvfb display $DISPLAY (import -display $DISPLAY -window root shot.png)"
  trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
fi
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 || true
if [ -n "$xvfb_pid" ]; then
  # No window manager on Xvfb: Wine draws the window frames itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
fi
echo "Data file: $data"
wine build/win32/wave_experiment/Kelmora2.exe "$(winepath -w "$data")"
