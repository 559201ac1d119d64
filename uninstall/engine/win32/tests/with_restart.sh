#!/bin/sh
# Runs the two halves of a test around a restart of Wine, in a prefix of its
# own so that the restart touches nothing else:
#   with_restart.sh WINE_ENV EMULATOR PROGRAM
# The program's "ScheduledWhileInUse" cases run, wineboot restarts the prefix
# (which carries out the pending renames), then its "InPlaceAfterTheRestart"
# cases run.
set -u
env_script=$1; shift
. "$env_script"
unset WINE_SESSION_OWNED WINE_SESSION_PREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/wine-restart.XXXXXX") || exit 1
export WINEPREFIX
trap '"$WINESERVER" -k >/dev/null 2>&1; rm -rf -- "$WINEPREFIX"; wine_private_display_stop' EXIT
# A display of its own: the restart runs beside tests that use the session's.
wine_private_display || exit 1
wine_prefix_new "$WINEPREFIX" || exit 1
export WINE_SESSION_OWNED=1 SCRUBBER_RESTART_PHASE=1
emulator=$1; program=$2
"$emulator" "$program" --gtest_filter='*ScheduledWhileInUse*' || exit 1
wine_run 120 wineboot -r >/dev/null 2>&1
"$emulator" "$program" --gtest_filter='*InPlaceAfterTheRestart*'
