# Shell functions for running Windows programs under Wine on a private X display and a private prefix.
# Sourced by tests/e2e/run-under-wine.sh and tools/run.sh.
#
#   wine_session_prefix DIR    use DIR as WINEPREFIX, created once (with the settings the tests rely on;
#                              BRENNIC_WINE_MANAGED=1 leaves Wine's windows to the window manager)
#   wine_session_display       use $DISPLAY when set and BRENNIC_PRIVATE_X is not 1, else start a private Xvfb
#   wine_session_end           stop what this session started (its Xvfb, the prefix's wineserver)

export WINEDEBUG=${WINEDEBUG:--all}
# One locale on every machine: Wine takes the programs' ANSI code page (1252 here) and the encoding of Unix file
# names (UTF-8) from it, and the tests rely on both.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}

WINE_SESSION_XVFB_PID=

wine_session_prefix() {
  export WINEPREFIX="$1"
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.brennic-ready" ]; then
      echo "wine-session: creating the Wine prefix $WINEPREFIX (once, about 10 s)" >&2
      rm -rf "$WINEPREFIX"
      wineboot -i >/dev/null 2>&1 </dev/null
      # No window manager: without this Wine waits about 2 s whenever a window is hidden or destroyed.
      if [ "${BRENNIC_WINE_MANAGED:-0}" != 1 ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
      fi
      # A crash ends the process instead of opening a dialog that would hang a test.
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
      wineserver -w
      touch "$WINEPREFIX/.brennic-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}

wine_session_display() {
  if [ -n "${DISPLAY:-}" ] && [ "${BRENNIC_PRIVATE_X:-1}" != "1" ]; then
    return 0
  fi
  local fifo
  fifo=$(mktemp -u /tmp/brennic-xvfb.XXXXXX)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  WINE_SESSION_XVFB_PID=$!
  local number
  if ! read -r -t 20 number <"$fifo"; then
    rm -f "$fifo"
    echo "wine-session: Xvfb did not start" >&2
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$number"
}

wine_session_end() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$WINE_SESSION_XVFB_PID" ]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    WINE_SESSION_XVFB_PID=
  fi
}
