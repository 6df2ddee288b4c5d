# Sourced: starts a throwaway Wine prefix, an Xvfb display and a persistent wineserver,
# and stops exactly what it started.
wine_env_start() {
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEARCH=win32
  # The programs must show Greek right whatever the system code page.
  export LANG=C LC_ALL=C
  KELMORA_OWN_PREFIX=0
  if [ -z "${WINEPREFIX:-}" ]; then
    WINEPREFIX=$(mktemp -d /tmp/kelmora-wine.XXXXXX)
    export WINEPREFIX
    KELMORA_OWN_PREFIX=1
  fi
  local d
  for d in $(seq 90 199); do
    [ -e /tmp/.X11-unix/X$d ] || [ -e /tmp/.X$d-lock ] || break
  done
  Xvfb :$d -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  KELMORA_XVFB_PID=$!
  export DISPLAY=:$d
  local i
  for i in $(seq 1 100); do [ -e /tmp/.X11-unix/X$d ] && break; sleep 0.1; done
  # A persistent server makes each test start in a tenth of a second instead of seconds.
  wineserver -p
  wineboot -i >/dev/null 2>&1 || true
  # Xvfb runs no window manager: unmanaged windows hide at once instead of Wine waiting two
  # seconds for a manager to withdraw them.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  local keepalive
  keepalive="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/win32/tests/wine_keepalive.exe"
  if [ -f "$keepalive" ]; then
    wine "$keepalive" >/dev/null 2>&1 &
    # The first window test waits for the desktop otherwise.
    sleep 1
  fi
  trap wine_env_stop EXIT
}

wine_env_stop() {
  trap - EXIT
  wineserver -k 2>/dev/null || true
  if [ -n "${KELMORA_XVFB_PID:-}" ]; then
    kill "$KELMORA_XVFB_PID" 2>/dev/null || true
    wait "$KELMORA_XVFB_PID" 2>/dev/null || true
    KELMORA_XVFB_PID=
  fi
  if [ "${KELMORA_OWN_PREFIX:-0}" = 1 ] && [ -n "${WINEPREFIX:-}" ]; then
    rm -rf "$WINEPREFIX"
  fi
}
