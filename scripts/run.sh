#!/usr/bin/env bash
# bash scripts/run.sh PROGRAM [ARGUMENTS...]: starts one of the programs under Wine, after
# installing what is missing and building what is out of date.
#   Kelmora2 [data.txt]   the wave experiment; without an argument on a working copy of the
#                         shipped sample (build/run/data.txt, from wave_experiment/sample)
#   Kelmora4 [data.txt]   the sound experiment; likewise (build/run/kelmora4-data.txt, from
#                         sound_experiment/sample)
#   veru [picture.bmp] [off] [gr]
#                         the viewer; without a picture on build/run/picture.bmp, a picture
#                         made here on the first run
# A WINEPREFIX you set is used as it is: neither its registry nor its wineserver is touched.
# Otherwise the programs run in a prefix of this script's own (KELMORA_WINEPREFIX, by default
# ~/.kelmora-wine), which it makes and gives Wine's fonts, Greek included. Without a DISPLAY
# the program runs on an Xvfb display of its own (its number is printed, for screenshots).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/wine-env.sh

usage() { sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
program=${1:-}
[ $# -gt 0 ] && shift
case $program in
  Kelmora2) exe=build/win32/wave_experiment/Kelmora2.exe sample=wave_experiment/sample/data.txt work=build/run/data.txt ;;
  Kelmora4) exe=build/win32/sound_experiment/Kelmora4.exe sample=sound_experiment/sample/data.txt work=build/run/kelmora4-data.txt ;;
  veru) exe=build/win32/viewer/veru.exe sample= work=build/run/picture.bmp ;;
  *) usage ;;
esac

bash scripts/install-deps.sh
if [ ! -f build/win32/build.ninja ]; then
  cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" >/dev/null
fi
cmake --build build/win32 --target "$program"

file=${1:-}
# The viewer's options alone: the picture is the default one.
[ "$program" = veru ] && { [ "$file" = off ] || [ "$file" = gr ]; } && file=
if [ -z "$file" ]; then
  mkdir -p build/run
  if [ ! -f "$work" ]; then
    if [ -n "$sample" ]; then
      cp "$sample" "$work"
    else
      # A picture of our own: a seeded plasma, larger than the window so that it pans, with
      # every colour channel spread for the histograms.
      convert -seed 16 -size 1024x768 plasma:fractal -blur 0x1 -type TrueColor "BMP3:$work"
    fi
  fi
  file=$work
else
  shift
fi
[ -f "$file" ] || { echo "no such file: $file" >&2; exit 1; }
file=$(cd "$(dirname "$file")" && pwd)/$(basename "$file")

kelmora_wine_settings
own_prefix=0
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX=${KELMORA_WINEPREFIX:-$HOME/.kelmora-wine}
  own_prefix=1
  # The mark says the set-up of this script is done; a prefix of ours from before it is set
  # up now, and loses the unmanaged-window value that earlier runs left in it.
  if [ ! -f "$WINEPREFIX/.kelmora-prefix" ]; then
    kelmora_prefix_setup
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.kelmora-prefix"
  fi
fi

run_dir=
cleanup() {
  if [ -n "$run_dir" ]; then
    if [ "$own_prefix" = 1 ]; then
      wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
    fi
    kelmora_stop_xvfb "$run_dir"
    rm -rf "$run_dir"
  fi
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  run_dir=$(mktemp -d /tmp/kelmora-run.XXXXXX)
  kelmora_start_xvfb "$run_dir"
  DISPLAY=$(cat "$run_dir/display")
  export DISPLAY
  echo "$program runs on the Xvfb display $DISPLAY (import -display $DISPLAY -window root shot.png)"
  if [ "$own_prefix" = 1 ]; then
    # No window manager on this display: Wine draws the window frames itself, for this run.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  else
    echo "(your WINEPREFIX is left as it is: with no window manager here, windows have no frames)"
  fi
fi

echo "File: $file"
wine "$exe" "$(winepath -w "$file")" "$@"
