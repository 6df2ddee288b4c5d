#!/usr/bin/env bash
# The emulator of the Windows tests: runs one test program under Wine.
# - With a "desktop" allocated by ctest (CTEST_RESOURCE_GROUP_0_DESKTOP, from the resource
#   file that wine-env.sh writes), on that desktop: its own prefix, wineserver and display.
# - Without one (ctest run without the resource file), on the prefix and display of the
#   environment; a test that opens windows (not marked KELMORA_DESKTOP=none) then takes that
#   desktop for itself while it runs, so two tests' windows never meet.
# A process that Wine itself crashes after the test's success line was printed is told apart
# by that evidence only (below): it is named as a Wine crash, listed in KELMORA_WINE_CRASHES,
# and counts as passed. Any other failure is the test's.
set -u

listing=0
for a in "$@"; do [ "$a" = --gtest_list_tests ] && listing=1; done

if [ "${CTEST_RESOURCE_GROUP_COUNT:-0}" -gt 0 ]; then
  alloc=${CTEST_RESOURCE_GROUP_0_DESKTOP:?"no desktop among the resources ctest gave this test"}
  id=${alloc#id:}
  id=${id%%,*}
  env_file="${KELMORA_DESKTOPS:?"KELMORA_DESKTOPS is not set: run under scripts/wine-env.sh"}/$id.env"
  [ -f "$env_file" ] || { echo "no desktop $id in $KELMORA_DESKTOPS" >&2; exit 1; }
  # shellcheck source=/dev/null
  . "$env_file"
  export WINEPREFIX DISPLAY
elif [ "$listing" = 0 ] && [ "${KELMORA_DESKTOP:-}" != none ]; then
  # Held by this script alone (the programs get no copy of it), so a program the test
  # leaves behind cannot keep the desktop taken.
  exec 9<"${WINEPREFIX:-$HOME/.wine}"
  flock 9
fi

if [ "$listing" = 1 ]; then
  exec wine "$@"
fi

log=$(mktemp /tmp/kelmora-test-log.XXXXXX)
trap 'rm -f "$log"' EXIT
wine "$@" 2>&1 9<&- | tee "$log" 9<&-
rc=${PIPESTATUS[0]}
[ "$rc" = 0 ] && exit 0

# The evidence of a crash of Wine's own, after gtest's success line and no failure: either
# - Wine's report of an unhandled exception whose innermost frame is in a module of Wine's
#   (one in the prefix's system folder), not in the test program or a library of this build;
# - or the Wine process itself killed by SIGSEGV (exit 139) with no such report: a fault in
#   the test's Windows code is caught by Wine and reported as an unhandled exception, so a
#   bare SIGSEGV is Wine's own unix side (seen: a thread torn down inside a server call while
#   the process ends).
passed_at=$(grep -n '^\[  PASSED  \] ' "$log" | tail -n1 | cut -d: -f1)
if [ -n "$passed_at" ] && ! grep -q '^\[  FAILED  \] ' "$log"; then
  after=$(tail -n +"$passed_at" "$log")
  frame=$(grep -m1 '^=>0 0x[0-9a-f]* in ' <<<"$after" | sed 's/^=>0 0x[0-9a-f]* in \([^ ]*\).*/\1/')
  system32="${WINEPREFIX:-$HOME/.wine}/drive_c/windows/system32"
  where=
  if grep -q '^Unhandled exception: ' <<<"$after"; then
    [ -n "$frame" ] && compgen -G "$system32/$frame.*" >/dev/null && where="in $frame"
  elif [ "$rc" = 139 ] && ! grep -q 'Unhandled exception' "$log"; then
    where="by SIGSEGV of the Wine process"
  fi
  if [ -n "$where" ]; then
    test_name=$(basename "${2:-$1}")
    for a in "$@"; do
      case $a in --gtest_filter=*) test_name=${a#--gtest_filter=} ;; esac
    done
    echo "WINE CRASH: $test_name passed, then Wine crashed $where (exit $rc)"
    [ -n "${KELMORA_WINE_CRASHES:-}" ] && echo "$test_name ($where)" >>"$KELMORA_WINE_CRASHES"
    exit 0
  fi
  echo "The test passed, but its process ended with exit code $rc: a failure."
fi
exit "$rc"
