#!/usr/bin/env bash
# Builds and runs every benchmark under Wine and Xvfb; each prints its own figures. The
# viewer's runs once more under Wine's default window settings, with openbox managing them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
source scripts/wine-env.sh
kelmora_choose_windows_build
bash scripts/build.sh
wine_env_start
for exe in "$(kelmora_windows_build_dir)"/bench/*/*.exe; do
  echo "== $(basename "$exe" .exe)"
  wine "$exe" || echo "(exit $?)"
done
wine_env_stop
bash bench/viewer/run_managed.sh
