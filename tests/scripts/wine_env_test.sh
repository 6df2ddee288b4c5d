#!/usr/bin/env bash
# The test and run scripts' own decisions, with stand-ins for Wine's programs: which Windows
# build a machine gets and why, a Wine step that fails stopping the run with its own words,
# and the caller's shell left as it was.
#   bash tests/scripts/wine_env_test.sh CASE   (CASE: one of the functions below)
# shellcheck source-path=SCRIPTDIR source=cases.sh
source "$(dirname "$0")/cases.sh"

# A 32-bit loader that the kernel cannot execute, as the shell reports it.
stand_in_loader() {
  local answer=$1 status=$2
  cat >"$work/wine" <<EOF
#!/bin/sh
echo "$answer" >&2
exit $status
EOF
  chmod +x "$work/wine"
}

choice() { # prints what kelmora_choose_windows_build printed, then the build it chose
  (
    unset KELMORA_WINDOWS_BUILD
    [ $# -gt 0 ] && export KELMORA_WINDOWS_BUILD=$1
    export KELMORA_WINE32_LOADER=$work/wine
    # shellcheck source=/dev/null
    source "$root/scripts/wine-env.sh"
    kelmora_choose_windows_build 2>&1 || echo "status $?"
    echo "chosen ${KELMORA_WINDOWS_BUILD:-}"
  )
}

ChoosesWin64WhereThe32BitLoaderCannotRun() {
  stand_in_loader "$work/wine: cannot execute binary file: Exec format error" 126
  local out
  out=$(choice)
  expect_lines "message" "$(grep -v '^chosen' <<<"$out")" 1
  expect_contains "message" "$out" "Windows build: win64 (this machine runs no 32-bit x86 program: $work/wine: cannot execute binary file: Exec format error)"
  expect_contains "choice" "$out" "chosen win64"
}

ChoosesWin32WhereThe32BitLoaderRuns() {
  cat >"$work/wine" <<'EOF'
#!/bin/sh
[ "$1" = --version ] && echo "wine-8.0 (Debian 8.0~repack-4)"
EOF
  chmod +x "$work/wine"
  local out
  out=$(choice)
  expect_contains "message" "$out" "Windows build: win32 (this machine runs 32-bit x86 programs: $work/wine --version answers wine-8.0 (Debian 8.0~repack-4))"
  expect_contains "choice" "$out" "chosen win32"
}

ChoosesWin64WithoutThe32BitLoader() {
  rm -f "$work/wine"
  local out
  out=$(choice)
  expect_contains "message" "$out" "Windows build: win64 (Wine's 32-bit loader $work/wine is not installed)"
  expect_contains "choice" "$out" "chosen win64"
}

TakesTheBuildAskedFor() {
  stand_in_loader "$work/wine: cannot execute binary file: Exec format error" 126
  local out
  out=$(choice win32)
  expect_contains "win32 asked" "$out" "Windows build: win32 (asked for by KELMORA_WINDOWS_BUILD)"
  expect_contains "win32 asked" "$out" "chosen win32"
  out=$(choice win64)
  expect_contains "win64 asked" "$out" "chosen win64"
  out=$(choice win16)
  expect_contains "unknown" "$out" "KELMORA_WINDOWS_BUILD=win16: neither win32 nor win64"
  expect_contains "unknown" "$out" "status 1"
}

# Displays from :100 up, the low numbers being a user's own servers': a number that Xvfb
# says is taken (another server got it between the look at its files and the start) is passed
# over for the next; any other failure of Xvfb stops the start with its own words.
TheXvfbDisplayIsTheFirstFreeOneFrom100() {
  mkdir -p "$work/bin" "$work/taken" "$work/broken"
  cat >"$work/bin/Xvfb" <<'XVFB'
#!/bin/bash
echo "${1#:}" >>"$XVFB_TRIED"
if [ "${1#:}" -lt 103 ]; then
  echo "(EE) Fatal server error:" >&2
  echo "(EE) $XVFB_SAYS for display ${1#:}" >&2
  exit 1
fi
echo "${1#:}" >&3
exec sleep 600
XVFB
  chmod +x "$work/bin/Xvfb"
  local out tried display
  out=$(
    export PATH="$work/bin:$PATH" XVFB_TRIED=$work/taken/tried XVFB_SAYS="Server is already active"
    # shellcheck source=/dev/null
    source "$root/scripts/wine-env.sh"
    kelmora_start_xvfb "$work/taken" 2>&1 && echo started
  )
  expect_contains "taken" "$out" "started"
  tried=$(cat "$work/taken/tried")
  display=$(cat "$work/taken/display" 2>/dev/null)
  [ "$(head -n1 <<<"$tried")" -ge 100 ] || fail "tried a low display first: $tried"
  [ ":$(tail -n1 <<<"$tried")" = "$display" ] || fail "ended on $display after trying: $tried"
  [ "$(head -n -1 <<<"$tried" | awk '$1 >= 103' | wc -l)" = 0 ] || fail "passed over a free display: $tried"
  (
    # shellcheck source=/dev/null
    source "$root/scripts/wine-env.sh"
    kelmora_stop_xvfb "$work/taken"
  )

  out=$(
    export PATH="$work/bin:$PATH" XVFB_TRIED=$work/broken/tried XVFB_SAYS="no screens found"
    # shellcheck source=/dev/null
    source "$root/scripts/wine-env.sh"
    kelmora_start_xvfb "$work/broken" 2>&1 || echo "status $?"
  )
  expect_contains "broken" "$out" "error: Xvfb did not start on :"
  expect_contains "broken" "$out" "(EE) no screens found for display"
  expect_contains "broken" "$out" "status 1"
  expect_lines "broken: tried" "$(cat "$work/broken/tried")" 1
}

# A wineboot that fails: the start of the test desktops stops with what was being done and
# Wine's own words, names no other cause (the fonts, a missing file), starts no display, and
# leaves the caller's variables and EXIT trap as they were.
ABrokenWinebootStopsTheStartWithItsOwnWords() {
  mkdir -p "$work/bin"
  cat >"$work/bin/wineboot" <<'EOF'
#!/bin/sh
echo "wine: could not load kernel32.dll, status c0000135" >&2
exit 3
EOF
  for tool in wine wineserver Xvfb; do
    printf '#!/bin/sh\necho "%s $*" >>"%s/called"\n' "$tool" "$work" >"$work/bin/$tool"
  done
  chmod +x "$work/bin"/*
  local out
  out=$(
    export PATH="$work/bin:$PATH" WINEDEBUG=warn+all LANG=el_GR.UTF-8
    unset LC_ALL WINEARCH WINEDLLOVERRIDES WINELOADER
    trap 'echo "caller trap ran"' EXIT
    # shellcheck source=/dev/null
    source "$root/scripts/wine-env.sh"
    before_path=$PATH
    KELMORA_WINDOWS_BUILD=win64 wine_env_start 2 2>&1
    echo "status $?"
    [ "$PATH" = "$before_path" ] && echo "PATH kept"
    echo "WINEDEBUG=$WINEDEBUG LANG=$LANG LC_ALL=${LC_ALL-unset} WINEARCH=${WINEARCH-unset}"
    echo "WINEDLLOVERRIDES=${WINEDLLOVERRIDES-unset} WINELOADER=${WINELOADER-unset} WINEPREFIX=${WINEPREFIX-unset}"
    echo "KELMORA_DESKTOPS=${KELMORA_DESKTOPS-unset}"
    trap -p EXIT
  )
  expect_contains "wineboot" "$out" "error: making the Wine prefix"
  expect_contains "wineboot" "$out" "'wineboot -i' failed with exit status 3. It said:"
  expect_contains "wineboot" "$out" "wine: could not load kernel32.dll, status c0000135"
  expect_contains "wineboot" "$out" "nothing was run under Wine"
  expect_contains "wineboot" "$out" "status 1"
  grep -qi "font\|No such file" <<<"$out" && fail "a cause that was not the cause: $out"
  [ -e "$work/called" ] && grep -q "Xvfb\|wine " "$work/called" && fail "went on after wineboot: $(cat "$work/called")"
  expect_contains "PATH" "$out" "PATH kept"
  expect_contains "variables" "$out" "WINEDEBUG=warn+all LANG=el_GR.UTF-8 LC_ALL=unset WINEARCH=unset"
  expect_contains "variables" "$out" "WINEDLLOVERRIDES=unset WINELOADER=unset WINEPREFIX=unset"
  expect_contains "desktops" "$out" "KELMORA_DESKTOPS=unset"
  expect_contains "trap" "$out" "trap -- 'echo \"caller trap ran\"' EXIT"
  expect_contains "trap" "$out" "caller trap ran"
  [ "$(find /tmp -maxdepth 1 -name 'kelmora-wine.*' -newer "$work/bin/wineboot" | wc -l)" = 0 ] ||
    fail "a desktops folder was left behind"
}

# The exit trap of the scripts runs their own clean-up, then the caller's.
TheExitTrapKeepsTheCallersCommand() {
  local out
  out=$(
    trap 'echo caller' EXIT
    # shellcheck source=/dev/null
    source "$root/scripts/wine-env.sh"
    kelmora_exit_trap 'echo ours'
  )
  [ "$out" = $'ours\ncaller' ] || fail "exit trap: expected ours then caller, got: $out"
  out=$(
    trap - EXIT
    # shellcheck source=/dev/null
    source "$root/scripts/wine-env.sh"
    kelmora_exit_trap 'echo ours'
    kelmora_restore_shell
    trap -p EXIT
  )
  [ -z "$out" ] || fail "restore: the caller had no EXIT trap, now: $out"
}

run_case "$@"
