#!/usr/bin/env bash
# The build and format scripts say what they do: a build folder configured before with other
# options gets the scripts' own back, and a format check without its formatter says so.
#   bash tests/scripts/tools_test.sh CASE   (CASE: one of the functions below)
# shellcheck source-path=SCRIPTDIR source=cases.sh
source "$(dirname "$0")/cases.sh"

# A copy of the sources with its three build folders configured by hand with warnings allowed;
# the build script run on it (with a cmake that configures for real and builds nothing) turns
# them on again in every folder, and builds each.
TheBuildScriptConfiguresAFolderConfiguredBeforeWithItsOwnOptions() {
  local repo=$work/repo real_cmake out dir
  mkdir -p "$repo" "$work/bin"
  tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$repo" -xf -
  real_cmake=$(command -v cmake)
  cmake -S "$repo" -B "$repo/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchain-mingw32.cmake" -DKELMORA_WERROR=OFF >/dev/null
  cmake -S "$repo" -B "$repo/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc -DKELMORA_WERROR=OFF >/dev/null
  cmake -S "$repo" -B "$repo/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DKELMORA_FUZZ=ON -DKELMORA_WERROR=OFF >/dev/null
  cat >"$work/bin/cmake" <<EOF
#!/bin/sh
if [ "\$1" = --build ]; then echo "cmake \$*" >>"$work/builds"; exit 0; fi
exec "$real_cmake" "\$@"
EOF
  chmod +x "$work/bin/cmake"
  out=$(PATH="$work/bin:$PATH" KELMORA_WINDOWS_BUILD=win32 bash "$repo/scripts/build.sh" 2>&1) ||
    fail "the build script failed: $out"
  for dir in win32 native fuzz; do
    grep -qx 'KELMORA_WERROR:BOOL=ON' "$repo/build/$dir/CMakeCache.txt" ||
      fail "build/$dir: $(grep '^KELMORA_WERROR' "$repo/build/$dir/CMakeCache.txt")"
    expect_contains "builds" "$(cat "$work/builds" 2>/dev/null)" "cmake --build build/$dir"
  done
}

# Every program of the PATH but clang-format: the check names what is missing and the step
# that installs it, and fails.
AFormatCheckWithoutClangFormatNamesItAndItsInstallStep() {
  local dir out status=0
  mkdir -p "$work/bin"
  while IFS= read -r -d: dir; do
    [ -d "$dir" ] && find "$dir" -maxdepth 1 ! -type d ! -name 'clang-format*' \
      -exec ln -s -t "$work/bin" {} + 2>/dev/null
  done <<<"$PATH:"
  [ -e "$work/bin/git" ] || fail "the PATH of the case has no git"
  out=$(PATH="$work/bin" "$BASH" "$root/scripts/format-check.sh" 2>&1) || status=$?
  [ "$status" != 0 ] || fail "the check passed without clang-format: $out"
  expect_contains "message" "$out" "clang-format is not installed"
  expect_contains "message" "$out" "bash scripts/install-deps.sh installs it"
}

run_case "$@"
