# Wine harness, sourced by the tools. Creates a throwaway prefix, starts Xvfb
# when there is no display, and tears down what it started.
#
#   wine_session_start   prefix + display + persistent wineserver; exports
#                        WINEPREFIX, DISPLAY and WINE_SESSION_OWNED; with
#                        WINE_SESSION_TEMPLATE=1 also WINE_TEMPLATE_PREFIX:
#                        a copy of the prefix as booted, for tests that need
#                        a prefix of their own
#   wine_session_stop    ends the wineserver, Xvfb and removes the prefix,
#                        but only what this session started
#   wine_prefix_new DIR  makes DIR a fresh prefix: a copy of the session's
#                        template when there is one (a boot costs seconds of
#                        both cores), else booted anew
#   wine_private_display starts an Xvfb of the caller's own and exports its
#                        DISPLAY, so that windows and focus are not shared
#                        with tests running beside it; wine_private_display_stop
#                        ends it
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

# Xvfb picks a free display itself and writes its number once it takes
# connections, so that displays started side by side never collide.
_wine_start_xvfb() {
  local numfile i
  numfile=$(mktemp) || return 1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  _wine_started_xvfb_pid=$!
  for i in $(seq 1 100); do
    if [ -s "$numfile" ]; then
      export DISPLAY=":$(tr -dc 0-9 <"$numfile")"
      rm -f -- "$numfile"
      return 0
    fi
    kill -0 "$_wine_started_xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  rm -f -- "$numfile"
  kill "$_wine_started_xvfb_pid" 2>/dev/null
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

# Windows need no window manager there: Wine draws the frames and places
# the windows itself, or it waits for a manager that never comes.
_wine_prefix_unmanaged() {
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
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
    [ -z "${WINE_SESSION_XVFB:-}" ] || _wine_prefix_unmanaged
  fi
  # wineboot leaves a service manager behind while the next program starts
  # another: a service started later may then report to the wrong one. End
  # the boot's processes so that the session starts with one of each.
  "$WINESERVER" -k >/dev/null 2>&1 || true
  timeout 30 "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "${WINE_SESSION_PREFIX:-}" ] && [ "${WINE_SESSION_TEMPLATE:-}" = 1 ]; then
    # The prefix as booted, before any test changed it; the copies go on
    # displays of their own, which have no window manager.
    if cp -a -- "$WINEPREFIX" "$WINEPREFIX.template"; then
      WINEPREFIX=$WINEPREFIX.template _wine_prefix_unmanaged
      WINEPREFIX=$WINEPREFIX.template "$WINESERVER" -k >/dev/null 2>&1
      WINEPREFIX=$WINEPREFIX.template timeout 30 "$WINESERVER" -w >/dev/null 2>&1
      export WINE_TEMPLATE_PREFIX=$WINEPREFIX.template
    fi
  fi
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
    rm -rf -- "$WINE_SESSION_PREFIX" "$WINE_SESSION_PREFIX.template"
    unset WINE_SESSION_PREFIX WINEPREFIX WINE_TEMPLATE_PREFIX
  fi
  if [ -n "${WINE_SESSION_XVFB:-}" ]; then
    kill "$WINE_SESSION_XVFB" 2>/dev/null
    wait "$WINE_SESSION_XVFB" 2>/dev/null
    unset WINE_SESSION_XVFB DISPLAY
  fi
  unset WINE_SESSION_OWNED
}

wine_prefix_new() {  # dir
  if [ -n "${WINE_TEMPLATE_PREFIX:-}" ] && [ -f "$WINE_TEMPLATE_PREFIX/system.reg" ]; then
    rm -rf -- "$1" && cp -a -- "$WINE_TEMPLATE_PREFIX" "$1"
    return
  fi
  WINEPREFIX=$1 "$WINE64" wineboot -i >/dev/null 2>&1
  WINEPREFIX=$1 _wine_prefix_unmanaged
  WINEPREFIX=$1 timeout 30 "$WINESERVER" -w >/dev/null 2>&1
  [ -f "$1/system.reg" ]
}

wine_private_display() {
  _wine_start_xvfb || return 1
  export WINE_PRIVATE_XVFB=$_wine_started_xvfb_pid
}

wine_private_display_stop() {
  [ -n "${WINE_PRIVATE_XVFB:-}" ] || return 0
  kill "$WINE_PRIVATE_XVFB" 2>/dev/null
  wait "$WINE_PRIVATE_XVFB" 2>/dev/null
  unset WINE_PRIVATE_XVFB
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
