#!/bin/sh
# Runs the Scrubber end-to-end tests in a Wine prefix of their own. The
# uninstaller deletes files and directories, so the prefix reaches nothing
# of the host: the user folders are plain directories and drive Z: is gone.
#   with_private_prefix.sh WINE_ENV TEST_EXE SCRUBBER_EXE RESTART_HELPER ISMIF_DLL SHOT_DIR [FIXTURE...]
# Fixtures are placed beside the tests under their own names.
# Phases: every case but the restart; the restart question answered Cancel,
# then OK (the helper restarts Wine, which may end the test program too);
# then, after a restart of the prefix if the pending replacement was not
# yet carried out, the checks of what the restart left.
set -u
env_script=$1 test_exe=$2 scrubber=$3 helper=$4 ismif=$5 shots=$6
shift 6
. "$env_script"
unset WINE_SESSION_OWNED WINE_SESSION_PREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/scrubber-e2e.XXXXXX") || exit 1
export WINEPREFIX
trap '"$WINESERVER" -k >/dev/null 2>&1; rm -rf -- "$WINEPREFIX"; wine_private_display_stop' EXIT
started=$(date +%s)

# A display of its own: the tests run beside others that use the session's.
wine_private_display || exit 1
wine_prefix_new "$WINEPREFIX" || exit 1
"$WINESERVER" -k >/dev/null 2>&1
echo "prefix ready after $(( $(date +%s) - started ))s"

drive_c=$WINEPREFIX/drive_c
wine_prefix_detach_host
mkdir -p "$drive_c/e2e/shots"
cp "$test_exe" "$drive_c/e2e/e2e_scrubber.exe"
cp "$scrubber" "$drive_c/e2e/Scrubber.exe"
cp "$helper" "$drive_c/e2e/_QZRSTRT.EXE"
cp "$ismif" "$drive_c/e2e/ismif32.dll"
for fixture in "$@"; do cp "$fixture" "$drive_c/e2e/"; done
rm -f "$WINEPREFIX/dosdevices/z:"

export SCRUBBER_E2E_DIR='C:\e2e'
run_phase() {  # gtest filter
  (cd "$drive_c" && timeout --kill-after=5 120 "$WINE64" 'C:\e2e\e2e_scrubber.exe' --gtest_filter="$1")
}

status=0
run_phase '-ScrubberRestart.*' || status=1
run_phase 'ScrubberRestart.BeforeRestartCancelWritesNoHelper' || status=1
# OK restarts Wine: the test program may be ended before it reports, so its
# verdict is the mark it leaves once the helper was found written.
run_phase 'ScrubberRestart.BeforeRestartOkWritesTheHelper'
echo "restart phase exit code: $?"
# Whatever the restart left running ends on its own or is ended here.
timeout 30 "$WINESERVER" -w || "$WINESERVER" -k
[ -f "$drive_c/e2e/helper-written" ] || { echo "FAILED: the restart helper was not written as carried"; status=1; }
echo "processes left in the prefix after the restart request:"
ps -eo pid,args | grep -F "$WINEPREFIX" | grep -v grep || true
echo "C:\\windows\\_QZRSTRT.EXE: $([ -f "$drive_c/windows/_QZRSTRT.EXE" ] && echo present || echo absent)"
echo "pending renames: $(grep -c PendingFileRenameOperations "$WINEPREFIX/system.reg")"
if run_phase 'ScrubberRestart.AfterRestart*' >"$drive_c/e2e/after-restart.txt" 2>&1; then
  echo "the restart request alone carried out the pending replacement"
else
  grep -E 'holds:|Failure|Which is' "$drive_c/e2e/after-restart.txt"
  echo "the replacement was not carried out by the restart request: wineboot -r"
  "$WINE64" wineboot -r >/dev/null 2>&1
  timeout 30 "$WINESERVER" -w || "$WINESERVER" -k
  run_phase 'ScrubberRestart.AfterRestart*' || status=1
fi

mkdir -p "$shots"
cp "$drive_c"/e2e/shots/*.png "$shots"/ 2>/dev/null
echo "scrubber e2e: $(( $(date +%s) - started ))s"
exit $status
