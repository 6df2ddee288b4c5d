# shellcheck shell=bash
# Sourced by the test, benchmark and run scripts: the choice of the Windows build, the Wine
# prefixes, Xvfb displays and wineservers these scripts start, and the stopping of exactly
# those. A prefix, display or server that the caller brought along is used as it is or not at
# all, never changed; the shell's variables and EXIT trap are put back as they were.

kelmora_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Debian's fonts-wine: Wine's own fonts (Marlett's window buttons, Tahoma, the MS Sans Serif
# bitmaps of every code page), which a new prefix does not see until they are in its Fonts.
kelmora_wine_fonts=/usr/share/wine/fonts
# Debian's Wine loaders: its "wine" runs the 32-bit one wherever wine32 is installed, even
# where the kernel cannot execute it, so a 64-bit run names the 64-bit one itself.
kelmora_wine32_loader=${KELMORA_WINE32_LOADER:-/usr/lib/wine/wine}
kelmora_wine64_loader=/usr/lib/wine/wine64

# kelmora_choose_windows_build: sets KELMORA_WINDOWS_BUILD to the Windows build that this
# machine tests and runs, win32 or win64, and prints on one line which and why. The 32-bit
# build is the deliverable and is chosen wherever its programs can run, that is wherever
# Wine's 32-bit loader starts. A KELMORA_WINDOWS_BUILD set before is taken as asked.
kelmora_choose_windows_build() {
  local answer
  case ${KELMORA_WINDOWS_BUILD:-} in
    win32 | win64)
      echo "Windows build: $KELMORA_WINDOWS_BUILD (asked for by KELMORA_WINDOWS_BUILD)"
      export KELMORA_WINDOWS_BUILD
      return 0
      ;;
    "") ;;
    *)
      echo "KELMORA_WINDOWS_BUILD=$KELMORA_WINDOWS_BUILD: neither win32 nor win64" >&2
      return 1
      ;;
  esac
  if [ ! -e "$kelmora_wine32_loader" ]; then
    KELMORA_WINDOWS_BUILD=win64
    echo "Windows build: win64 (Wine's 32-bit loader $kelmora_wine32_loader is not installed)"
  elif answer=$("$kelmora_wine32_loader" --version 2>&1 </dev/null); then
    KELMORA_WINDOWS_BUILD=win32
    echo "Windows build: win32 (this machine runs 32-bit x86 programs: $kelmora_wine32_loader --version answers ${answer%%$'\n'*})"
  else
    KELMORA_WINDOWS_BUILD=win64
    # The shell's own words from the loader's path on ("...: cannot execute binary file: Exec
    # format error"), or the first line the loader printed.
    answer=${answer##*"$kelmora_wine32_loader": }
    answer=${answer%%$'\n'*}
    echo "Windows build: win64 (this machine runs no 32-bit x86 program: $kelmora_wine32_loader: ${answer:-no answer})"
  fi
  export KELMORA_WINDOWS_BUILD
}

# kelmora_windows_build_dir: the build folder of the chosen Windows build.
kelmora_windows_build_dir() {
  echo "$kelmora_root/build/${KELMORA_WINDOWS_BUILD:?run kelmora_choose_windows_build first}"
}

# kelmora_configure_windows_build [win32|win64]: configures that Windows build (by default
# the chosen one) with the scripts' options, on every call: a folder configured before, by
# hand or by an older script, keeps the options of its cache otherwise (a KELMORA_WERROR=OFF
# would stay off unseen), and cmake on a configured folder takes a moment.
kelmora_configure_windows_build() {
  local which=${1:-${KELMORA_WINDOWS_BUILD:?run kelmora_choose_windows_build first}}
  cmake -S "$kelmora_root" -B "$kelmora_root/build/$which" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$kelmora_root/cmake/toolchain-mingw${which#win}.cmake" -DKELMORA_WERROR=ON >/dev/null
}

# What kelmora_wine_settings and wine_env_start change, put back by kelmora_restore_shell.
_kelmora_shell_vars=(WINEPREFIX DISPLAY LANG LC_ALL WINEARCH WINEDEBUG WINEDLLOVERRIDES WINELOADER PATH)
_kelmora_shell_saved=
_kelmora_shell_values=()
_kelmora_caller_exit_trap=

# Keeps each of those variables as "declare -p" shows it (value and export) or its absence,
# and the caller's EXIT trap; once, until the restore.
# shellcheck disable=SC2120 # its "set --" takes the words of the trap, not arguments
kelmora_save_shell() {
  [ -n "$_kelmora_shell_saved" ] && return 0
  _kelmora_shell_saved=1
  _kelmora_shell_values=()
  local v trap_line
  for v in "${_kelmora_shell_vars[@]}"; do
    if [ -n "${!v+set}" ]; then
      _kelmora_shell_values+=("$(declare -p "$v")")
    else
      _kelmora_shell_values+=("unset $v")
    fi
  done
  trap_line=$(trap -p EXIT)
  _kelmora_caller_exit_trap=
  if [ -n "$trap_line" ]; then
    eval "set -- $trap_line"
    _kelmora_caller_exit_trap=$3
  fi
}

kelmora_restore_shell() {
  [ -n "$_kelmora_shell_saved" ] || return 0
  local line
  for line in "${_kelmora_shell_values[@]}"; do
    # declare -g: a declare inside a function would make the variable local to it.
    eval "${line/#declare /declare -g }"
  done
  if [ -n "$_kelmora_caller_exit_trap" ]; then
    trap -- "$_kelmora_caller_exit_trap" EXIT
  else
    trap - EXIT
  fi
  _kelmora_shell_saved=
}

# kelmora_exit_trap COMMAND: COMMAND at exit, then what the caller had set to run there.
kelmora_exit_trap() {
  kelmora_save_shell
  trap -- "$1${_kelmora_caller_exit_trap:+; $_kelmora_caller_exit_trap}" EXIT
}

kelmora_wine_settings() {
  kelmora_save_shell
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ "${KELMORA_WINDOWS_BUILD:-win32}" = win64 ]; then
    export WINEARCH=win64 WINELOADER=$kelmora_wine64_loader
    # wineboot, winepath and regedit start Wine by the name "wine-stable": in this folder
    # both names lead to the 64-bit loader.
    case ":$PATH:" in
      *":$kelmora_root/scripts/wine64:"*) ;;
      *) export PATH="$kelmora_root/scripts/wine64:$PATH" ;;
    esac
  else
    export WINEARCH=win32
  fi
}

# kelmora_wine_step WHAT COMMAND...: a Wine command whose failure makes the rest meaningless.
# On failure it prints what was being done, the command's exit status and Wine's own words.
kelmora_wine_step() {
  local what=$1 log rc=0
  shift
  # A file, not a pipe: a wineserver that the command starts keeps its output open for as
  # long as it runs.
  log=$(mktemp /tmp/kelmora-wine-step.XXXXXX)
  "$@" >"$log" 2>&1 </dev/null || rc=$?
  if [ "$rc" != 0 ]; then
    echo "error: $what: '$*' failed with exit status $rc$([ -s "$log" ] && echo '. It said:')" >&2
    tail -n 20 "$log" | sed 's/^/  /' >&2
  fi
  rm -f "$log"
  return "$rc"
}

# kelmora_start_xvfb DIR: starts an Xvfb on the first free display from :100 up and waits
# until it accepts clients; DIR/display gets ":N" and DIR/xvfb.pid its process id. The low
# numbers are left to the user's own X servers, which expect :0 and the like to be theirs. A
# number whose lock file or socket is there is passed over (a server started with -displayfd,
# as these are, makes no lock file); one that another server takes meanwhile is refused by
# Xvfb itself, and the next is tried.
kelmora_start_xvfb() {
  local dir=$1 n pid end
  for ((n = 100; n < 1000; n++)); do
    if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then continue; fi
    : >"$dir/displayfd"
    Xvfb ":$n" -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/displayfd" </dev/null >"$dir/xvfb.log" 2>&1 &
    pid=$!
    echo "$pid" >"$dir/xvfb.pid"
    # Xvfb writes its display number once it is ready for clients.
    end=$((SECONDS + 30))
    until grep -q '^[0-9][0-9]*$' "$dir/displayfd"; do
      if ! kill -0 "$pid" 2>/dev/null; then
        rm -f "$dir/xvfb.pid"
        if grep -q 'already active\|Cannot establish any listening sockets' "$dir/xvfb.log"; then
          continue 2
        fi
        echo "error: Xvfb did not start on :$n. It said:" >&2
        tail -n 10 "$dir/xvfb.log" | sed 's/^/  /' >&2
        return 1
      fi
      if [ "$SECONDS" -ge "$end" ]; then
        echo "error: Xvfb did not answer on :$n within 30s. It said:" >&2
        tail -n 10 "$dir/xvfb.log" | sed 's/^/  /' >&2
        kelmora_stop_xvfb "$dir"
        return 1
      fi
      sleep 0.05
    done
    echo ":$(head -n1 "$dir/displayfd")" >"$dir/display"
    return 0
  done
  echo "error: Xvfb found no free display from :100 to :999" >&2
  return 1
}

# _kelmora_end_process PIDFILE: ends the process whose id the file holds, if any, and removes
# the file.
_kelmora_end_process() {
  [ -f "$1" ] || return 0
  kill "$(cat "$1")" 2>/dev/null || true
  rm -f "$1"
}

kelmora_stop_xvfb() { _kelmora_end_process "$1/xvfb.pid"; }

# kelmora_start_window_manager DIR: starts openbox on the display of DIR (kelmora_start_xvfb)
# and waits until it manages the screen; DIR/wm.pid gets its process id. It reads the
# system's settings only, never the user's own (XDG_CONFIG_HOME of its own, empty).
kelmora_start_window_manager() {
  local dir=$1 display
  display=$(cat "$dir/display")
  mkdir -p "$dir/wm-config"
  DISPLAY=$display XDG_CONFIG_HOME="$dir/wm-config" openbox --sm-disable </dev/null >"$dir/wm.log" 2>&1 &
  echo $! >"$dir/wm.pid"
  local end=$((SECONDS + 30))
  # A manager that has taken the screen names its window on the root.
  until DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    if ! kill -0 "$(cat "$dir/wm.pid")" 2>/dev/null || [ "$SECONDS" -ge "$end" ]; then
      echo "error: the window manager (openbox) did not start on $display. It said:" >&2
      tail -n 10 "$dir/wm.log" | sed 's/^/  /' >&2
      return 1
    fi
    sleep 0.05
  done
}

kelmora_stop_window_manager() { _kelmora_end_process "$1/wm.pid"; }

# kelmora_prefix_setup [test]: makes the prefix named by WINEPREFIX, which must be one these
# scripts own, and gives it Wine's fonts, Greek included; "test" adds what unattended test
# runs need. Ends with the prefix's wineserver gone, so the prefix can be copied. Fails, with
# what was being done and Wine's own words, when Wine cannot make or set the prefix.
kelmora_prefix_setup() {
  local purpose=${1:-}
  kelmora_wine_step "making the Wine prefix $WINEPREFIX" wineboot -i || return 1
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ ! -d "$fonts" ]; then
    echo "error: wineboot ended well but made no folder windows/Fonts in $WINEPREFIX" >&2
    return 1
  fi
  if [ -d "$kelmora_wine_fonts" ]; then
    # All but Tahoma: Wine's Tahoma has no Greek letters, and as the font of window captions
    # and message boxes it would turn the programs' Greek there into boxes; without it they
    # fall back to a face that has them.
    find "$kelmora_wine_fonts" -maxdepth 1 -type f ! -iname 'tahoma*' -exec cp {} "$fonts"/ \;
  else
    echo "warning: Wine's fonts ($kelmora_wine_fonts, package fonts-wine) are not installed" >&2
  fi
  local reg="$WINEPREFIX/kelmora-setup.reg"
  # Greek requests for the forms' "MS Sans Serif" get Liberation Sans (Arial's metrics). The
  # face's Greek bitmaps draw several letters with one picture (accented and plain vowels,
  # delta and zeta, phi and psi), which misspells every caption; Liberation Sans draws each
  # letter apart within a few pixels of the bitmaps' widths, so captions keep their boxes.
  cat >"$reg" <<'EOF'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Sans Serif,161"="Liberation Sans,161"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
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
  # Z: is the root of the Unix file system in every prefix.
  local reg_path="Z:${reg//\//\\}"
  if ! kelmora_wine_step "setting the fonts of the Wine prefix $WINEPREFIX" wine regedit /S "$reg_path"; then
    rm -f "$reg"
    return 1
  fi
  rm -f "$reg"
  kelmora_wine_step "waiting for the wineserver of $WINEPREFIX to end" wineserver -w
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

# The run command's prefix and display (scripts/run.sh), here so that its tests set up and end
# a run with the very same code.
kelmora_run_own_prefix=0

# kelmora_run_prefix FLOPPY: the prefix that the run command starts the programs in. A
# WINEPREFIX the caller set is used as it is (kelmora_run_own_prefix=0). Otherwise WINEPREFIX
# becomes the command's own (kelmora_run_own_prefix=1): KELMORA_WINEPREFIX, else
# ~/.kelmora-wine (~/.kelmora-wine64 for the 64-bit build), made and given Wine's fonts, or set
# up again when the set-up has changed since. Its a: drive is the folder FLOPPY, made when
# missing: the experiments write their report to a:, and a prefix has no floppy drive of its
# own. Fails, having said why, when the prefix cannot be made.
kelmora_run_prefix() {
  local floppy=$1 default setup
  kelmora_wine_settings
  if [ -n "${WINEPREFIX:-}" ]; then
    kelmora_run_own_prefix=0
    return 0
  fi
  default=$HOME/.kelmora-wine
  [ "${KELMORA_WINDOWS_BUILD:-win32}" = win64 ] && default=$HOME/.kelmora-wine64
  export WINEPREFIX=${KELMORA_WINEPREFIX:-$default}
  kelmora_run_own_prefix=1
  # The mark holds the set-up that made the prefix.
  setup=$(declare -f kelmora_prefix_setup | md5sum | cut -d' ' -f1)
  if [ "$(cat "$WINEPREFIX/.kelmora-prefix" 2>/dev/null)" != "$setup" ]; then
    kelmora_prefix_setup || return 1
    echo "$setup" >"$WINEPREFIX/.kelmora-prefix"
  fi
  # On every run: the default prefix is shared by every checkout of the user's, and the
  # drive follows the one that runs.
  if ! mkdir -p "$floppy" || ! floppy=$(cd "$floppy" && pwd) ||
    ! rm -f "$WINEPREFIX/dosdevices/a:" || ! ln -s "$floppy" "$WINEPREFIX/dosdevices/a:"; then
    echo "error: the a: drive of $WINEPREFIX could not be made the folder $floppy" >&2
    return 1
  fi
}

# kelmora_run_display DIR: for a run without a DISPLAY, an Xvfb display of its own
# (kelmora_start_xvfb in DIR), exported as DISPLAY. It has no window manager, so Wine draws
# the window frames itself, for this run, in the command's own prefix; a prefix of the
# caller's is left as it is.
kelmora_run_display() {
  local dir=$1
  kelmora_start_xvfb "$dir" || return 1
  DISPLAY=$(cat "$dir/display")
  export DISPLAY
  if [ "$kelmora_run_own_prefix" = 1 ]; then
    kelmora_wine_step "telling Wine to draw the window frames" \
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || return 1
  fi
}

# kelmora_run_end DIR: the end of kelmora_run_display's display, when there is one. In the
# command's own prefix the frames are left to a window manager again, then the prefix's
# wineserver is ended and waited for before the display goes: a Wine process still connected
# to a display that vanishes says so on the terminal ("X connection to :N broken"), and
# "wine reg" starts such processes again. A prefix of the caller's keeps its wineserver.
# The display is waited for too (a second or so), so that the command ends with it gone.
kelmora_run_end() {
  local dir=$1 xvfb i
  [ -f "$dir/xvfb.pid" ] || return 0
  if [ "$kelmora_run_own_prefix" = 1 ]; then
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
    _kelmora_stop_wineserver "$WINEPREFIX"
  fi
  xvfb=$(cat "$dir/xvfb.pid")
  kelmora_stop_xvfb "$dir"
  for ((i = 0; i < 100; i++)); do
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.05
  done
}

# The desktops: DIR/ID/ holds prefix/, the display and its Xvfb's pid; DIR/ID.env sets
# WINEPREFIX and DISPLAY for whoever runs on ID. A desktop whose ID begins with "w" has the
# openbox window manager on its display, and its prefix leaves the windows to it (Wine's
# default), as on a user's desktop.
_kelmora_desktop_start() {
  local env=$1 id=$2
  local dir="$env/$id"
  mkdir -p "$dir"
  kelmora_copy_prefix "$env/template" "$dir/prefix"
  kelmora_start_xvfb "$dir" || return 1
  if [ "${id#w}" != "$id" ]; then
    # The template turns management off for the desktops without a manager; the server is
    # not running yet, so its registry file can be edited as text.
    sed -i '/^"Managed"="N"$/d' "$dir/prefix/user.reg"
    kelmora_start_window_manager "$dir" || return 1
  fi
  (
    export WINEPREFIX="$dir/prefix" DISPLAY
    DISPLAY=$(cat "$dir/display")
    # A persistent server makes each test start in a tenth of a second instead of seconds.
    kelmora_wine_step "starting the wineserver of the desktop $id" wineserver -p || exit 1
    local keepalive
    keepalive="$(kelmora_windows_build_dir)/tests/wine_keepalive.exe"
    if [ -f "$keepalive" ]; then
      wine "$keepalive" "Z:${dir//\//\\}\\desktop-up" </dev/null >"$dir/keepalive.log" 2>&1 &
      local pid=$!
      local end=$((SECONDS + 60))
      until [ -e "$dir/desktop-up" ]; do
        # A keep-alive that ended has failed, and what it said is all there is to tell.
        if ! kill -0 "$pid" 2>/dev/null; then
          echo "error: starting the desktop $id: '$keepalive' ended before the desktop was up. It said:" >&2
          tail -n 20 "$dir/keepalive.log" | sed 's/^/  /' >&2
          exit 1
        fi
        if [ "$SECONDS" -ge "$end" ]; then
          echo "error: timed out after 60s waiting for the desktop $id" >&2
          exit 1
        fi
        sleep 0.05
      done
    fi
    printf 'WINEPREFIX=%q\nDISPLAY=%q\n' "$WINEPREFIX" "$DISPLAY" >"$env/$id.env"
  )
}

# wine_env_start [N]: N desktops (at least one), each a throwaway prefix with its own
# wineserver and Xvfb display, so that windows on one never meet windows on another, nor a
# test's Windows directory, registry or a: drive another's. KELMORA_DESKTOPS names the
# folder of them all and KELMORA_RESOURCE_SPEC the file that hands them to ctest as
# "desktop" resources; besides them, one or two desktops managed by a window manager
# ("managed_desktop" resources, w0 and w1) for the tests that need one. The shell
# (WINEPREFIX and DISPLAY) runs on the first desktop when there is one; with more, on one
# more prefix that ctest never hands out: the window-less tests share it, and so never meet
# a test that has a desktop to itself. The prefixes are of the chosen
# Windows build (kelmora_choose_windows_build; win32 when none was chosen). wine_env_stop
# puts back every variable and the EXIT trap as they were before.
wine_env_start() {
  local count=${1:-1}
  [ "$count" -ge 1 ] || count=1
  KELMORA_WINDOWS_BUILD=${KELMORA_WINDOWS_BUILD:-win32}
  kelmora_save_shell
  kelmora_wine_settings
  # The programs must show Greek right whatever the system code page.
  export LANG=C LC_ALL=C
  KELMORA_DESKTOPS=$(mktemp -d /tmp/kelmora-wine.XXXXXX)
  export KELMORA_DESKTOPS
  kelmora_exit_trap wine_env_stop
  if ! (
    export WINEPREFIX="$KELMORA_DESKTOPS/template"
    unset DISPLAY
    kelmora_prefix_setup test
  ); then
    echo "error: the Wine prefix of the tests could not be made; nothing was run under Wine" >&2
    wine_env_stop
    return 1
  fi
  local i pids=() shell=d0
  [ "$count" -gt 1 ] && shell=shared
  # The tests that need a window manager are few: two managed desktops serve them side by
  # side with the rest.
  local managed=1
  [ "$count" -gt 1 ] && managed=2
  for ((i = 0; i < count; i++)); do
    _kelmora_desktop_start "$KELMORA_DESKTOPS" "d$i" &
    pids+=($!)
  done
  for ((i = 0; i < managed; i++)); do
    _kelmora_desktop_start "$KELMORA_DESKTOPS" "w$i" &
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
    echo "error: the Wine desktops did not start (above: what each one that failed said)" >&2
    wine_env_stop
    return 1
  fi
  {
    printf '{"version": {"major": 1, "minor": 0}, "local": [{"desktop": ['
    for ((i = 0; i < count; i++)); do
      printf '%s{"id": "d%d", "slots": 1}' "$([ "$i" -gt 0 ] && echo ', ')" "$i"
    done
    printf '], "managed_desktop": ['
    for ((i = 0; i < managed; i++)); do
      printf '%s{"id": "w%d", "slots": 1}' "$([ "$i" -gt 0 ] && echo ', ')" "$i"
    done
    printf ']}]}\n'
  } >"$KELMORA_DESKTOPS/resources.json"
  export KELMORA_RESOURCE_SPEC="$KELMORA_DESKTOPS/resources.json"
  # A test that Wine crashed after it had passed is named here by the test wrapper.
  export KELMORA_WINE_CRASHES="$KELMORA_DESKTOPS/wine-crashes.txt"
  : >"$KELMORA_WINE_CRASHES"
  eval "$(sed 's/^/export /' "$KELMORA_DESKTOPS/$shell.env")"
}

# _kelmora_stop_wineserver PREFIX: ends the prefix's wineserver and waits until it is gone,
# so that nothing of it still writes into the prefix when it is removed.
_kelmora_stop_wineserver() {
  WINEPREFIX=$1 wineserver -k 2>/dev/null || true
  WINEPREFIX=$1 wineserver -w 2>/dev/null || true
}

wine_env_stop() {
  local env=${KELMORA_DESKTOPS:-}
  if [ -n "$env" ] && [ -d "$env" ]; then
    local dir
    for dir in "$env"/d* "$env"/w* "$env/shared" "$env/template"; do
      [ -d "$dir" ] || continue
      if [ -d "$dir/prefix" ]; then _kelmora_stop_wineserver "$dir/prefix"; fi
      if [ "$dir" = "$env/template" ]; then _kelmora_stop_wineserver "$dir"; fi
      kelmora_stop_window_manager "$dir"
      kelmora_stop_xvfb "$dir"
    done
    rm -rf "$env"
  fi
  unset KELMORA_DESKTOPS KELMORA_RESOURCE_SPEC KELMORA_WINE_CRASHES
  kelmora_restore_shell
  return 0
}
