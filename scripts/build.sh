#!/usr/bin/env bash
# Configures (once) and builds the Windows cross build, the native sanitizer build and the fuzzers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ ! -f build/win32/build.ninja ]; then
  cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" >/dev/null
fi
if [ ! -f build/native/build.ninja ]; then
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc >/dev/null
fi
if [ ! -f build/fuzz/build.ninja ]; then
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DKELMORA_FUZZ=ON >/dev/null
fi
cmake --build build/win32
cmake --build build/native
cmake --build build/fuzz --target fuzzers
