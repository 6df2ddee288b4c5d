#!/usr/bin/env bash
# Builds everything (Windows cross build and the native sanitizer build) and runs every test.
# Windows tests run under Wine in a throwaway prefix with its own Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

jobs=$(nproc)
bash scripts/build.sh

status=0
# Native pure-unit tests under the sanitizers.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir build/native --output-on-failure -j "$jobs" || status=1

# Fuzz targets: all of them side by side, about a minute each, over copies of their corpora.
if [ -d build/fuzz ]; then
  bash scripts/fuzz.sh || status=1
fi

source scripts/wine-env.sh
wine_env_start
if ! ctest --test-dir build/win32 --output-on-failure -j "$jobs" "$@"; then
  # A window test can lose a focus or activation event to the shared X desktop now and then;
  # a real fault fails again when the failed tests run once more, one at a time.
  echo "Running the failed Windows tests once more, one at a time"
  ctest --test-dir build/win32 --output-on-failure --rerun-failed || status=1
fi
wine_env_stop
exit $status
