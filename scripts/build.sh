#!/usr/bin/env bash
# Configures and builds the 32-bit Windows build (the deliverables, on every machine), the
# 64-bit one where it is the build that runs here (or KELMORA_WINDOWS_BUILD=win64 asks for it),
# the native sanitizer build and the fuzzers. Every folder is configured with these options on
# every run, so one configured before with others (KELMORA_WERROR=OFF, say) gets them back.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/wine-env.sh
[ -n "${KELMORA_WINDOWS_BUILD:-}" ] || kelmora_choose_windows_build
kelmora_configure_windows_build win32
[ "$KELMORA_WINDOWS_BUILD" = win64 ] && kelmora_configure_windows_build win64
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc -DKELMORA_WERROR=ON >/dev/null
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DKELMORA_FUZZ=ON -DKELMORA_WERROR=ON >/dev/null
cmake --build build/win32
[ "$KELMORA_WINDOWS_BUILD" = win64 ] && cmake --build build/win64
cmake --build build/native
cmake --build build/fuzz --target fuzzers
