#!/usr/bin/env bash
# The viewer benchmark under Wine's default window settings (windows managed), as a user runs
# the viewer (scripts/bench.sh runs it under the tests' settings, then this way). A window
# manager (openbox, which the install step brings) stands in for the user's desktop:
# without one, Wine waits two seconds for a manager at every window it hides, and F2 hides
# its progress window.
# Run after a build: bash bench/viewer/run_managed.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
source scripts/wine-env.sh
[ -n "${KELMORA_WINDOWS_BUILD:-}" ] || kelmora_choose_windows_build
wine_env_start
# The tests' prefix turns management off; the program started next reads the default again.
wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
wm_pid=
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  # Ready once it has claimed the screen.
  for _ in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
else
  echo "(no window manager installed: each window F2 hides waits two seconds for one)"
fi
echo "== viewer_bench, windows managed${wm_pid:+ by openbox}"
wine "$(kelmora_windows_build_dir)/bench/viewer/viewer_bench.exe" || echo "(exit $?)"
if [ -n "$wm_pid" ]; then
  kill "$wm_pid" 2>/dev/null || true
  wait "$wm_pid" 2>/dev/null || true
fi
wine_env_stop
