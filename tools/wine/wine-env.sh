# Wine harness, sourced by the tools. Creates a throwaway prefix, starts Xvfb
# when there is no display, and tears down what it started.
#
#   wine_session_start   prefix + display + persistent wineserver; exports
#                        WINEPREFIX, DISPLAY and WINE_SESSION_OWNED
#   wine_session_stop    ends the wineserver, Xvfb and removes the prefix,
#                        but only what this session started
#   wine_prefix_detach_host
#                        replaces the prefix's links to the host's user
#                        folders (Desktop, Documents, ...) by plain folders,
#                        before anything that deletes runs in it
#   wine_run SECONDS PROGRAM [ARGS...]
#                        runs a Windows program with a time limit; returns
#                        its exit code (124 on time-out)

WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing may try to download them. No menu builder: links
# made in a prefix must not write menus and icons into the host's home.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
export WINEARCH=win64

_wine_started_xvfb_pid=""
_wine_started_prefix=""

_wine_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    _wine_started_xvfb_pid=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$_wine_started_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

wine_session_start() {
  if [ -z "${DISPLAY:-}" ]; then
    _wine_start_xvfb || return 1
    export WINE_SESSION_XVFB=$_wine_started_xvfb_pid
  fi
  if [ -z "${WINEPREFIX:-}" ]; then
    _wine_started_prefix=$(mktemp -d "${TMPDIR:-/tmp}/wineprefix.XXXXXX")
    export WINEPREFIX=$_wine_started_prefix
    export WINE_SESSION_PREFIX=$_wine_started_prefix
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE64" wineboot -i >/dev/null 2>&1 || true
    # There is no window manager on Xvfb: Wine must draw the frames and
    # place (maximise) the windows itself, or it waits for a manager that
    # never comes.
    if [ -n "${WINE_SESSION_XVFB:-}" ]; then
      "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true
      "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    fi
  fi
  # wineboot leaves a service manager behind while the next program starts
  # another: a service started later may then report to the wrong one. End
  # the boot's processes so that the session starts with one of each.
  "$WINESERVER" -k >/dev/null 2>&1 || true
  # Keep one server for the whole session: each program then starts in
  # about half a second instead of paying the server start again.
  "$WINESERVER" -p >/dev/null 2>&1 || true
  # The first program starts the session's background processes; they must
  # not inherit the output of a test (ctest would wait for them to close it).
  "$WINE64" cmd /c exit >/dev/null 2>&1 || true
  export WINE_SESSION_OWNED=1
}

wine_session_stop() {
  [ -n "${WINEPREFIX:-}" ] && WINEPREFIX=$WINEPREFIX "$WINESERVER" -k >/dev/null 2>&1
  if [ -n "${WINE_SESSION_PREFIX:-}" ]; then
    rm -rf -- "$WINE_SESSION_PREFIX"
    unset WINE_SESSION_PREFIX WINEPREFIX
  fi
  if [ -n "${WINE_SESSION_XVFB:-}" ]; then
    kill "$WINE_SESSION_XVFB" 2>/dev/null
    wait "$WINE_SESSION_XVFB" 2>/dev/null
    unset WINE_SESSION_XVFB DISPLAY
  fi
  unset WINE_SESSION_OWNED
}

wine_prefix_detach_host() {
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    rm -f -- "$link" && mkdir -p -- "$link"
  done
}

wine_run() {
  local seconds=$1; shift
  timeout --kill-after=5 "$seconds" "$WINE64" "$@"
}
