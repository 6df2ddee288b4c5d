#!/usr/bin/env bash
# Builds everything (Windows cross build and the native sanitizer build) and runs every test
# once; exits non-zero when any fails. Windows tests run under Wine, side by side, each on a
# desktop nobody else uses: throwaway prefixes with their own wineserver and Xvfb display,
# handed out by ctest. The arguments (e.g. -R Pattern) go to every ctest run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

jobs=$(nproc)
bash scripts/build.sh

status=0
# Native pure-unit tests under the sanitizers.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir build/native --output-on-failure -j "$jobs" "$@" || status=1

# Fuzz targets: all of them side by side, about a minute each, over copies of their corpora.
if [ -d build/fuzz ]; then
  bash scripts/fuzz.sh || status=1
fi

source scripts/wine-env.sh
wine_env_start "$jobs"
ctest --test-dir build/win32 --output-on-failure -j "$jobs" --resource-spec-file "$KELMORA_RESOURCE_SPEC" "$@" ||
  status=1
crashes=$(grep -c . "$KELMORA_WINE_CRASHES" || true)
echo "Wine crashes after a passed test: $crashes"
[ "$crashes" = 0 ] || sed 's/^/  /' "$KELMORA_WINE_CRASHES"
wine_env_stop
exit $status
