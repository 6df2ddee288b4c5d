#!/usr/bin/env bash
# The run command (scripts/run.sh) as a user meets it at the terminal: its usage, and a real
# run of a real program on a display of the command's own, ended by the user's key. The real
# run needs the Windows build, which the test command builds before any test.
#   bash tests/scripts/run_test.sh CASE   (CASE: one of the functions below)
# shellcheck source-path=SCRIPTDIR source=cases.sh
source "$(dirname "$0")/cases.sh"

TheUsageIsWholeAndEndsWithASentence() {
  local out status=0
  out=$(bash "$root/scripts/run.sh" 2>&1) || status=$?
  [ "$status" = 2 ] || fail "exit status $status, not 2"
  expect_contains "first line" "$(head -n1 <<<"$out")" "bash scripts/run.sh PROGRAM [ARGUMENTS...]"
  [[ $(tail -n1 <<<"$out") == *. ]] || fail "the usage ends mid-sentence: ...$(tail -n2 <<<"$out")"
  grep -q '^#\|^set ' <<<"$out" && fail "the usage runs into the script: $out"
}

runner=
on_exit() {
  # A run the case did not see to its end: the command and everything it started (one process
  # group, its display among them), ended as a user's interrupt ends it, so that its own
  # clean-up runs; then, whatever was left, the wineserver of the scratch prefix.
  local i
  if [ -n "$runner" ] && kill -0 "$runner" 2>/dev/null; then
    kill -- -"$runner" 2>/dev/null
    for ((i = 0; i < 300; i++)); do
      kill -0 "$runner" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL -- -"$runner" 2>/dev/null
  fi
  if [ -d "$work/prefix" ]; then
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null
    WINEPREFIX=$work/prefix wineserver -w 2>/dev/null
  fi
  true
}

# The viewer on a small picture, in a scratch prefix and home, without a DISPLAY: the command
# starts its own Xvfb (above the user's numbers), the viewer shows the picture there, Esc
# typed on that display ends it, and the command ends with the viewer's status, its Wine
# processes and its display gone, and no Wine process saying the display went under it.
ARunOnItsOwnDisplayEndsWithoutABrokenConnection() {
  local out=$work/terminal display="" window="" i status p
  mkdir -p "$work/home"
  convert -size 64x48 gradient:red-blue -type TrueColor "BMP3:$work/picture.bmp"
  # A session of its own: the run and all it starts are one process group.
  setsid env -u DISPLAY -u WINEPREFIX HOME="$work/home" KELMORA_WINEPREFIX="$work/prefix" \
    bash "$root/scripts/run.sh" veru "$work/picture.bmp" >"$out" 2>&1 </dev/null &
  runner=$!
  # A fresh prefix is made first.
  for ((i = 0; i < 2400; i++)); do
    display=$(sed -n 's/^veru runs on the Xvfb display \(:[0-9]*\) .*/\1/p' "$out")
    [ -n "$display" ] || ! kill -0 "$runner" 2>/dev/null && break
    sleep 0.1
  done
  [ -n "$display" ] || { fail "no display was started: $(cat "$out")"; return; }
  [ "${display#:}" -ge 100 ] || fail "the run took $display, a number a user's own X server expects"
  for ((i = 0; i < 600; i++)); do
    window=$(DISPLAY=$display xdotool search --onlyvisible --name 'picture\.bmp' 2>/dev/null | head -n1)
    [ -z "$window" ] || break
    sleep 0.1
  done
  [ -n "$window" ] || { fail "the viewer showed no window: $(cat "$out")"; return; }
  DISPLAY=$display xdotool windowfocus --sync "$window" key Escape
  for ((i = 0; i < 600; i++)); do
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$runner" 2>/dev/null; then
    fail "Esc did not end the run: $(cat "$out")"
    return
  fi
  status=0
  wait "$runner" || status=$?
  runner=
  [ "$status" = 0 ] || fail "the command ended with status $status: $(cat "$out")"
  expect_contains "terminal" "$(cat "$out")" "File: $work/picture.bmp"
  grep -i 'X connection to .* broken\|X IO error' "$out" && fail "a broken connection on the terminal: $(cat "$out")"
  [ -e "/tmp/.X11-unix/X${display#:}" ] && fail "the display $display is still there"
  for p in $(pgrep wineserver); do
    tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qx "WINEPREFIX=$work/prefix" &&
      fail "the wineserver of the run's prefix is still there (process $p)"
  done
  echo "--- the terminal:"
  cat "$out"
}

run_case "$@"
