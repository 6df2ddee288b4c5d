#!/usr/bin/env bash
# The emulator of the Windows tests: runs one test program under Wine, in a prefix (a
# wineserver, its display, its Windows directory, registry and a: drive) used as the test's
# kind asks (KELMORA_TEST_NEEDS, set by kelmora_test):
# - "desktop": windows that nobody else's may meet; "fixed-paths" (SERIAL): that too, and
#   paths of the prefix that no other test may use meanwhile; "nothing" (PURE): neither.
# - With a "desktop" allocated by ctest (CTEST_RESOURCE_GROUP_0_DESKTOP, from the resource
#   file that wine-env.sh writes), the test runs on that desktop, which no other test has
#   meanwhile. The window-less tests get none: they run on the environment's prefix, which
#   wine-env.sh hands out to no test when it makes more than one.
# - Without one (ctest run without the resource file), on the prefix and display of the
#   environment, which the tests then share: a test that opens windows takes the desktop
#   for itself while it runs, and a SERIAL one also shuts out the window-less ones.
# - "managed" (WINDOW_MANAGER): a desktop that a window manager manages, as "desktop" is one
#   that none does: the "managed_desktop" ctest allocated, or without one the environment's
#   first such desktop, taken for the test's time.
# A process that Wine itself crashes after the test's success line was printed is told apart
# by that evidence only (below): it is named as a Wine crash, listed in KELMORA_WINE_CRASHES,
# and counts as passed. Any other failure is the test's.
set -u

listing=0
for a in "$@"; do [ "$a" = --gtest_list_tests ] && listing=1; done

needs=${KELMORA_TEST_NEEDS:-desktop}
case $needs in
  nothing | desktop | fixed-paths | managed) ;;
  *) echo "KELMORA_TEST_NEEDS=$needs: not nothing, desktop, fixed-paths or managed" >&2; exit 1 ;;
esac

id=
if [ "${CTEST_RESOURCE_GROUP_COUNT:-0}" -gt 0 ]; then
  if [ "$needs" = managed ]; then
    alloc=${CTEST_RESOURCE_GROUP_0_MANAGED_DESKTOP:?"no managed desktop among the resources ctest gave this test"}
  else
    alloc=${CTEST_RESOURCE_GROUP_0_DESKTOP:?"no desktop among the resources ctest gave this test"}
  fi
  id=${alloc#id:}
  id=${id%%,*}
elif [ "$needs" = managed ]; then
  id=w0
fi
if [ -n "$id" ]; then
  env_file="${KELMORA_DESKTOPS:?"KELMORA_DESKTOPS is not set: run under scripts/wine-env.sh"}/$id.env"
  [ -f "$env_file" ] || { echo "no desktop $id in $KELMORA_DESKTOPS" >&2; exit 1; }
  # shellcheck source=/dev/null
  . "$env_file"
  export WINEPREFIX DISPLAY
fi

if [ "$listing" = 0 ]; then
  # The locks are held by this script alone (the programs get no copy of them), so a
  # program the test leaves behind cannot keep the prefix taken. They are contended only
  # where tests share a prefix: without the resource file, or with a single desktop.
  prefix=${WINEPREFIX:-$HOME/.wine}
  if [ "$needs" != nothing ]; then
    exec 9<"$prefix"
    flock 9
  fi
  case $needs in
    fixed-paths) exec 8<"$prefix/drive_c" && flock 8 ;;
    nothing) exec 8<"$prefix/drive_c" && flock -s 8 ;;
  esac
fi

if [ "$listing" = 1 ]; then
  exec wine "$@"
fi

log=$(mktemp /tmp/kelmora-test-log.XXXXXX)
trap 'rm -f "$log"' EXIT
wine "$@" 2>&1 8<&- 9<&- | tee "$log" 8<&- 9<&-
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
