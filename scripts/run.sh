#!/usr/bin/env bash
# bash scripts/run.sh PROGRAM [ARGUMENTS...]: starts one of the programs under Wine, after
# installing what is missing and building what is out of date.
#   Kelmora2 [data.txt]   the wave experiment; without an argument on a working copy of the
#                         shipped sample (build/run/data.txt, from wave_experiment/sample)
#   Kelmora4 [data.txt]   the sound experiment; likewise (build/run/kelmora4-data.txt, from
#                         sound_experiment/sample)
#   veru [picture.bmp] [off|frame] [gr]
#                         the viewer, with its own arguments in its own positions: the
#                         picture; "off" for a window without a frame, anything else (say
#                         "frame") for one with a frame; "gr" for Greek, read only in the
#                         third position. Without a picture (first "off", "frame" or
#                         nothing) on build/run/picture.bmp, a picture made here on the first
#                         run. Greek with a frame: veru frame gr, or veru photo.bmp frame gr.
# It runs the 32-bit build where this machine runs 32-bit programs, else the 64-bit one,
# and says which on one line (KELMORA_WINDOWS_BUILD=win32 or win64 chooses).
# A WINEPREFIX you set is used as it is: neither its registry, its drives nor its wineserver
# is touched.
# Otherwise the programs run in a prefix of this script's own (KELMORA_WINEPREFIX, by default
# ~/.kelmora-wine, or ~/.kelmora-wine64 for the 64-bit build), which it makes and gives
# Wine's fonts, Greek included, and whose a: drive is the folder build/run/floppy: there a
# save of Kelmora2 writes its report results1-2.txt, and one of Kelmora4 results2-2.txt.
# Without a DISPLAY the program runs on an Xvfb display of its own, from :100 up (its number
# is printed, for screenshots).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/wine-env.sh

# The usage is this file's leading comment, all of it.
usage() { awk 'NR > 1 { if (!/^#/) exit; sub(/^# ?/, ""); print }' "$0" >&2; exit 2; }
program=${1:-}
[ $# -gt 0 ] && shift
case $program in
  Kelmora2) target=wave_experiment/Kelmora2.exe sample=wave_experiment/sample/data.txt work=build/run/data.txt ;;
  Kelmora4) target=sound_experiment/Kelmora4.exe sample=sound_experiment/sample/data.txt work=build/run/kelmora4-data.txt ;;
  veru) target=viewer/veru.exe sample='' work=build/run/picture.bmp ;;
  *) usage ;;
esac

file=${1:-}
if [ "$program" = veru ]; then
  case $file in
    # The viewer's own arguments without a picture: the default one takes the first place.
    off | frame) file= ;;
    gr)
      echo "veru reads the language from its third argument only: bash scripts/run.sh veru frame gr" \
           "(or off gr, or photo.bmp frame gr)" >&2
      exit 2
      ;;
    *) [ $# -gt 0 ] && shift ;;
  esac
else
  [ $# -gt 0 ] && shift
fi

bash scripts/install-deps.sh
kelmora_choose_windows_build
kelmora_configure_windows_build
build=$(kelmora_windows_build_dir)
cmake --build "$build" --target "$program"
exe=$build/$target

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
fi
[ -f "$file" ] || { echo "no such file: $file" >&2; exit 1; }
file=$(cd "$(dirname "$file")" && pwd)/$(basename "$file")

if ! kelmora_run_prefix "$root/build/run/floppy"; then
  echo "error: $program was not started" >&2
  exit 1
fi
if [ "$kelmora_run_own_prefix" = 0 ] && [ "$program" != veru ] && [ ! -e "$WINEPREFIX/dosdevices/a:" ]; then
  echo "(your WINEPREFIX has no a: drive, so a save cannot write its report: ln -s /some/folder \"\$WINEPREFIX/dosdevices/a:\" gives it one)"
fi

run_dir=
cleanup() {
  if [ -n "$run_dir" ]; then
    kelmora_run_end "$run_dir"
    rm -rf "$run_dir"
  fi
}
kelmora_exit_trap cleanup
if [ -z "${DISPLAY:-}" ]; then
  run_dir=$(mktemp -d /tmp/kelmora-run.XXXXXX)
  kelmora_run_display "$run_dir"
  echo "$program runs on the Xvfb display $DISPLAY (import -display $DISPLAY -window root shot.png)"
  if [ "$kelmora_run_own_prefix" = 0 ]; then
    echo "(your WINEPREFIX is left as it is: with no window manager here, windows have no frames)"
  fi
fi

echo "File: $file"
wine "$exe" "$(winepath -w "$file")" "$@"
