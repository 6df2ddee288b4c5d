#!/usr/bin/env bash
# Builds everything (the Windows cross builds and the native sanitizer build) and runs every
# test once; exits non-zero when any fails. Windows tests run under Wine, side by side, each
# on a desktop nobody else uses: throwaway prefixes with their own wineserver and Xvfb
# display, handed out by ctest. They run in the 32-bit build where this machine runs 32-bit
# programs, else in the 64-bit build (KELMORA_WINDOWS_BUILD=win32 or win64 chooses), where
# the tests about the 32-bit ABI are listed as not run. The arguments (e.g. -R Pattern) go to
# every ctest run and to the choice of fuzz targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
source scripts/wine-env.sh
kelmora_choose_windows_build
windows=$(kelmora_windows_build_dir)

jobs=$(nproc)
bash scripts/build.sh

status=0
bash scripts/format-check.sh || status=1
# Native pure-unit tests under the sanitizers.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir build/native --output-on-failure -j "$jobs" "$@" || status=1

# Fuzz targets: all of them side by side, about a minute each, over copies of their corpora.
if [ -d build/fuzz ]; then
  bash scripts/fuzz.sh "$@" || status=1
fi

wine_env_start "$jobs" || { echo "error: the Windows tests were not run" >&2; exit 1; }
ctest --test-dir "$windows" --output-on-failure -j "$jobs" --resource-spec-file "$KELMORA_RESOURCE_SPEC" "$@" ||
  status=1
crashes=$(grep -c . "$KELMORA_WINE_CRASHES" || true)
echo "Wine crashes after a passed test: $crashes"
[ "$crashes" = 0 ] || sed 's/^/  /' "$KELMORA_WINE_CRASHES"
if [ "$KELMORA_WINDOWS_BUILD" != win32 ]; then
  # The 32-bit ABI tests are in the list, disabled; named here so that nobody counts them.
  not_run=$(ctest --test-dir "$windows" -N -L abi32 "$@" | sed -n 's/^ *Test *#[0-9]*: //p')
  echo "not run on this machine (32-bit only): $(grep -c . <<<"$not_run" || true)"
  [ -z "$not_run" ] || sed 's/^/  /' <<<"$not_run"
fi
wine_env_stop
exit $status
