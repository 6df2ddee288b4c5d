#!/usr/bin/env bash
# Runs a Windows test program in a prefix made as the run command makes it, by the run
# command's own functions (kelmora_run_prefix, kelmora_run_display and kelmora_run_end in
# scripts/wine-env.sh), with everything in a scratch folder: the prefix, the floppy folder
# that is its a: drive (named to the program in KELMORA_FLOPPY_FOLDER), the home, the Xvfb
# display and the prefix's wineserver, all ended and removed at the end. A prefix, display or
# home of the caller's (the test desktops' among them) is neither used nor touched.
#   bash tests/scripts/run_prefix_test.sh win32|win64 PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?"win32 or win64"}
program=${2:?"the test program"}
shift 2
scratch=$(mktemp -d /tmp/kelmora-run-prefix.XXXXXX)
# shellcheck source-path=SCRIPTDIR source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
finish() {
  kelmora_run_end "$scratch"
  # A prefix set-up that failed half-way may have left its server.
  [ -d "$scratch/prefix" ] && _kelmora_stop_wineserver "$scratch/prefix"
  rm -rf "$scratch"
}
trap finish EXIT

unset WINEPREFIX DISPLAY
mkdir "$scratch/home"
export HOME=$scratch/home KELMORA_WINEPREFIX=$scratch/prefix KELMORA_WINDOWS_BUILD=$build
export KELMORA_FLOPPY_FOLDER=$scratch/floppy
kelmora_run_prefix "$KELMORA_FLOPPY_FOLDER"
kelmora_run_display "$scratch"
status=0
wine "$program" "$@" || status=$?
exit "$status"
