# Sourced by the test, benchmark and run scripts: the Wine prefixes, Xvfb displays and
# wineservers these scripts start, and the stopping of exactly those. A prefix, display or
# server that the caller brought along is used as it is or not at all, never changed.

kelmora_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Debian's fonts-wine: Wine's own fonts (Marlett's window buttons, Tahoma, the MS Sans Serif
# bitmaps of every code page), which a new prefix does not see until they are in its Fonts.
kelmora_wine_fonts=/usr/share/wine/fonts

kelmora_wine_settings() {
  export WINEARCH=win32
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# kelmora_wait_for TIMEOUT_SECONDS WHAT COMMAND...: polls COMMAND until it succeeds; fails
# with a message naming WHAT when the time ran out.
kelmora_wait_for() {
  local timeout=$1 what=$2
  shift 2
  local end=$((SECONDS + timeout))
  until "$@"; do
    if [ "$SECONDS" -ge "$end" ]; then
      echo "timed out after ${timeout}s waiting for $what" >&2
      return 1
    fi
    sleep 0.05
  done
}

# kelmora_start_xvfb DIR: starts an Xvfb on a display number it chooses itself (no two runs
# can pick the same one) and waits until it accepts clients; DIR/display gets ":N" and
# DIR/xvfb.pid its process id.
kelmora_start_xvfb() {
  local dir=$1
  : >"$dir/displayfd"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/displayfd" </dev/null >/dev/null 2>&1 &
  echo $! >"$dir/xvfb.pid"
  # Xvfb writes its display number once it is ready for clients.
  local end=$((SECONDS + 30))
  until grep -q '^[0-9][0-9]*$' "$dir/displayfd"; do
    if ! kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || [ "$SECONDS" -ge "$end" ]; then
      echo "Xvfb did not start" >&2
      return 1
    fi
    sleep 0.05
  done
  echo ":$(head -n1 "$dir/displayfd")" >"$dir/display"
}

kelmora_stop_xvfb() {
  local dir=$1 pid
  [ -f "$dir/xvfb.pid" ] || return 0
  pid=$(cat "$dir/xvfb.pid")
  kill "$pid" 2>/dev/null || true
  rm -f "$dir/xvfb.pid"
}

# kelmora_prefix_setup [test]: makes the prefix named by WINEPREFIX, which must be one these
# scripts own, and gives it Wine's fonts, Greek included; "test" adds what unattended test
# runs need. Ends with the prefix's wineserver gone, so the prefix can be copied.
kelmora_prefix_setup() {
  local purpose=${1:-}
  wineboot -i >/dev/null 2>&1 || true
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d "$kelmora_wine_fonts" ] && [ -d "$fonts" ]; then
    # All but Tahoma: Wine's Tahoma has no Greek letters, and as the font of window captions
    # and message boxes it would turn the programs' Greek there into boxes; without it they
    # fall back to a face that has them.
    find "$kelmora_wine_fonts" -maxdepth 1 -type f ! -iname 'tahoma*' -exec cp {} "$fonts"/ \;
  else
    echo "warning: Wine's fonts ($kelmora_wine_fonts, package fonts-wine) are missing" >&2
  fi
  local reg="$WINEPREFIX/kelmora-setup.reg"
  # Wine loads only the bitmap fonts of the code page it runs in (Latin here), so a Greek
  # request for "MS Sans Serif" fell back to a wider TrueType face and clipped the designed
  # captions. The Greek bitmaps, registered beside the Latin ones, answer Greek requests
  # with the design's own widths.
  cat >"$reg" <<'EOF'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
"MS Sans Serif Greek"="sserifeg.fon"
"Small Fonts Greek"="smalleg.fon"
"Courier Greek"="coureg.fon"
EOF
  if [ "$purpose" = test ]; then
    # Wine links the profile's Desktop, Documents and the like to the user's home: a test's
    # files there would reach the home and every other prefix. Folders of the prefix's own.
    local link
    while IFS= read -r -d '' link; do
      rm -f "$link" && mkdir "$link"
    done < <(find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -type l -print0)
    # Xvfb runs no window manager: unmanaged windows hide at once instead of Wine waiting two
    # seconds for a manager to withdraw them. A crash prints its backtrace and ends the
    # process instead of waiting in a dialog for a click that never comes.
    cat >>"$reg" <<'EOF'

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
EOF
  fi
  wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1 || true
  rm -f "$reg"
  wineserver -w
}

# kelmora_copy_prefix FROM TO: a prefix copied; the programs and libraries, which nothing
# writes to, are shared as hard links, everything else (registry, settings) is copied.
kelmora_copy_prefix() {
  local from=$1 to=$2
  cp -al "$from" "$to"
  (cd "$from" && find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' \
      -o -iname '*.sys' -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.ax' \
      -o -iname '*.tlb' -o -iname '*.fon' -o -iname '*.ttf' -o -iname '*.nls' \) -print0) |
    while IFS= read -r -d '' f; do cp -p --remove-destination "$from/$f" "$to/$f"; done
}

# The desktops: DIR/ID/ holds prefix/, the display and its Xvfb's pid; DIR/ID.env sets
# WINEPREFIX and DISPLAY for whoever runs on ID.
_kelmora_desktop_start() {
  local env=$1 id=$2
  local dir="$env/$id"
  mkdir -p "$dir"
  kelmora_copy_prefix "$env/template" "$dir/prefix"
  kelmora_start_xvfb "$dir" || return 1
  (
    export WINEPREFIX="$dir/prefix" DISPLAY
    DISPLAY=$(cat "$dir/display")
    # A persistent server makes each test start in a tenth of a second instead of seconds.
    wineserver -p
    local keepalive="$kelmora_root/build/win32/tests/wine_keepalive.exe"
    if [ -f "$keepalive" ]; then
      wine "$keepalive" "$(winepath -w "$dir/desktop-up")" </dev/null >/dev/null 2>&1 &
      kelmora_wait_for 60 "the desktop of $id" test -e "$dir/desktop-up"
    fi
    printf 'WINEPREFIX=%q\nDISPLAY=%q\n' "$WINEPREFIX" "$DISPLAY" >"$env/$id.env"
  )
}

# wine_env_start [N]: N desktops (at least one), each a throwaway prefix with its own
# wineserver and Xvfb display, so that windows on one never meet windows on another, nor a
# test's Windows directory, registry or a: drive another's. KELMORA_DESKTOPS names the
# folder of them all and KELMORA_RESOURCE_SPEC the file that hands them to ctest as
# "desktop" resources. The shell (WINEPREFIX and DISPLAY) runs on the first when there is
# one; with more, on one more prefix that ctest never hands out: the window-less tests share
# it, and so never meet a test that has a desktop to itself. A WINEPREFIX or DISPLAY set
# before is put back by wine_env_stop.
wine_env_start() {
  local count=${1:-1}
  [ "$count" -ge 1 ] || count=1
  kelmora_wine_settings
  # The programs must show Greek right whatever the system code page.
  export LANG=C LC_ALL=C
  KELMORA_SAVED_WINEPREFIX=${WINEPREFIX-}
  KELMORA_SAVED_DISPLAY=${DISPLAY-}
  KELMORA_DESKTOPS=$(mktemp -d /tmp/kelmora-wine.XXXXXX)
  export KELMORA_DESKTOPS
  trap wine_env_stop EXIT
  (
    export WINEPREFIX="$KELMORA_DESKTOPS/template"
    unset DISPLAY
    kelmora_prefix_setup test
  )
  local i pids=() shell=d0
  [ "$count" -gt 1 ] && shell=shared
  for ((i = 0; i < count; i++)); do
    _kelmora_desktop_start "$KELMORA_DESKTOPS" "d$i" &
    pids+=($!)
  done
  if [ "$shell" = shared ]; then
    _kelmora_desktop_start "$KELMORA_DESKTOPS" shared &
    pids+=($!)
  fi
  local failed=0 p
  for p in "${pids[@]}"; do wait "$p" || failed=1; done
  rm -rf "$KELMORA_DESKTOPS/template"
  if [ "$failed" = 1 ]; then
    echo "the Wine desktops did not start" >&2
    wine_env_stop
    return 1
  fi
  {
    printf '{"version": {"major": 1, "minor": 0}, "local": [{"desktop": ['
    for ((i = 0; i < count; i++)); do
      printf '%s{"id": "d%d", "slots": 1}' "$([ "$i" -gt 0 ] && echo ', ')" "$i"
    done
    printf ']}]}\n'
  } >"$KELMORA_DESKTOPS/resources.json"
  export KELMORA_RESOURCE_SPEC="$KELMORA_DESKTOPS/resources.json"
  # A test that Wine crashed after it had passed is named here by the test wrapper.
  export KELMORA_WINE_CRASHES="$KELMORA_DESKTOPS/wine-crashes.txt"
  : >"$KELMORA_WINE_CRASHES"
  eval "$(sed 's/^/export /' "$KELMORA_DESKTOPS/$shell.env")"
}

wine_env_stop() {
  trap - EXIT
  local env=${KELMORA_DESKTOPS:-}
  if [ -n "$env" ] && [ -d "$env" ]; then
    local dir
    for dir in "$env"/d* "$env/shared" "$env/template"; do
      [ -d "$dir" ] || continue
      if [ -d "$dir/prefix" ]; then WINEPREFIX="$dir/prefix" wineserver -k 2>/dev/null || true; fi
      if [ "$dir" = "$env/template" ]; then WINEPREFIX="$dir" wineserver -k 2>/dev/null || true; fi
      kelmora_stop_xvfb "$dir"
    done
    rm -rf "$env"
  fi
  KELMORA_DESKTOPS=
  unset KELMORA_RESOURCE_SPEC KELMORA_WINE_CRASHES
  if [ -n "${KELMORA_SAVED_WINEPREFIX:-}" ]; then export WINEPREFIX=$KELMORA_SAVED_WINEPREFIX; else unset WINEPREFIX; fi
  if [ -n "${KELMORA_SAVED_DISPLAY:-}" ]; then export DISPLAY=$KELMORA_SAVED_DISPLAY; else unset DISPLAY; fi
  return 0
}
