#!/usr/bin/env bash
# The viewer benchmark under Wine's default window settings (windows managed), as a user runs
# the viewer (scripts/bench.sh runs it under the tests' settings, then this way), on the test
# desktop that openbox manages: without a manager, Wine waits two seconds for one at every
# window it hides, and F2 hides its progress window.
# Run after a build: bash bench/viewer/run_managed.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
source scripts/wine-env.sh
[ -n "${KELMORA_WINDOWS_BUILD:-}" ] || kelmora_choose_windows_build
wine_env_start
eval "$(sed 's/^/export /' "$KELMORA_DESKTOPS/w0.env")"
echo "== viewer_bench, windows managed by openbox"
wine "$(kelmora_windows_build_dir)/bench/viewer/viewer_bench.exe" || echo "(exit $?)"
wine_env_stop
