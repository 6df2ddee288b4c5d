#!/usr/bin/env bash
# The emulator of the Windows tests: runs one test program under Wine.
# - With a "desktop" allocated by ctest (CTEST_RESOURCE_GROUP_0_DESKTOP, from the resource
#   file that wine-env.sh writes), on that desktop: its own prefix, wineserver and display.
# - Without one (ctest run without the resource file), on the prefix and display of the
#   environment; a test that opens windows (not marked KELMORA_DESKTOP=none) then takes that
#   desktop for itself while it runs, so two tests' windows never meet.
# A process that Wine crashes inside its own modules after the test's success line was
# printed is told apart by that evidence only: it is named as a Wine crash, listed in
# KELMORA_WINE_CRASHES, and counts as passed. Any other failure is the test's.
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

# The evidence of a crash of Wine's own: gtest's success line and no failure, then Wine's
# report of an unhandled exception whose innermost frame is in a module of Wine's (one in
# the prefix's system folder), not in the test program or a library of this build.
passed_at=$(grep -n '^\[  PASSED  \] ' "$log" | tail -n1 | cut -d: -f1)
if [ -n "$passed_at" ] && ! grep -q '^\[  FAILED  \] ' "$log"; then
  frame=$(tail -n +"$passed_at" "$log" | grep -m1 '^=>0 0x[0-9a-f]* in ' | sed 's/^=>0 0x[0-9a-f]* in \([^ ]*\).*/\1/')
  system32="${WINEPREFIX:-$HOME/.wine}/drive_c/windows/system32"
  if [ -n "$frame" ] && tail -n +"$passed_at" "$log" | grep -q '^Unhandled exception: ' &&
     compgen -G "$system32/$frame.*" >/dev/null; then
    test_name=$(basename "${2:-$1}")
    for a in "$@"; do
      case $a in --gtest_filter=*) test_name=${a#--gtest_filter=} ;; esac
    done
    echo "WINE CRASH: $test_name passed, then Wine crashed in $frame (exit $rc)"
    [ -n "${KELMORA_WINE_CRASHES:-}" ] && echo "$test_name (in $frame)" >>"$KELMORA_WINE_CRASHES"
    exit 0
  fi
fi
exit "$rc"
