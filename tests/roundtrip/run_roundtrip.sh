#!/bin/sh
# The round trip: a sample product installed into a Wine prefix and
# uninstalled again must leave the prefix as it was, apart from the residues
# listed (with the rule that keeps each) in sample/residues-*.txt.
#   run_roundtrip.sh WINE_ENV SNAPSHOT SAMPLE_DIR SETUP_EXE SCRUBBER_EXE WIZARD_EXE FIXTURE_DIR [SCENARIO...]
# Scenarios (all by default):
#   silent    install, then "UNINST.EXE /S"
#   wizard    install, then the wizard: Custom, everything selected, Yes to
#             every shared file
#   rollback  install, upgrade, then "UNINST.EXE /A /R" while a program holds
#             a file the upgrade replaced (with a backup) open: the restart
#             question answered OK, and after Wine's restart the state after
#             the first installation is back, the log cut to its bytes
#   killed    install, "UNINST.EXE /S" ended with TerminateProcess at a point
#             in each of four steps, then "/S" again: as after one silent run
# Each scenario runs in its own copy of one fresh prefix; the uninstaller
# deletes what its log names, so the copies reach nothing of the host.
set -u
env_script=$1 snapshot=$2 sample=$3 setup=$4 scrubber=$5 wizard=$6 fixtures=$7
shift 7
scenarios=${*:-silent wizard rollback killed}
. "$env_script"
unset WINE_SESSION_OWNED WINE_SESSION_PREFIX
work=$(mktemp -d "${TMPDIR:-/tmp}/roundtrip.XXXXXX") || exit 1
cleanup() {
  for p in "$work"/*/; do WINEPREFIX=$p "$WINESERVER" -k >/dev/null 2>&1; done
  rm -rf -- "$work"
}
trap 'cleanup; wine_private_display_stop' EXIT
started=$(date +%s)
export WINEPREFIX

# A display of its own: the wizard runs beside tests that use the session's.
wine_private_display || exit 1
# One fresh prefix, made once: no links to the host, no drive Z:, the
# programs under C:\rt.
WINEPREFIX=$work/template
wine_prefix_new "$WINEPREFIX" || exit 1
wine_prefix_detach_host
rt=$WINEPREFIX/drive_c/rt
mkdir -p "$rt/fixtures" "$rt/sample" "$rt/progman"
: > "$rt/progman/groups.txt"
cp "$setup" "$rt/SampleSetup.exe"
cp "$scrubber" "$rt/fixtures/Scrubber.exe"  # the product installs it as its UNINST.EXE
cp "$wizard" "$rt/roundtrip_wizard.exe"
for f in TouchFile.exe KillWhen.exe SelfRegExe.exe ServiceFixture.exe ProgmanFixture.exe SelfRegDll.dll PlainDll.dll; do
  cp "$fixtures/$f" "$rt/fixtures/$f"
done
cp "$sample"/*.txt "$rt/sample/"
rm -f "$WINEPREFIX/dosdevices/z:"
"$WINESERVER" -k >/dev/null 2>&1
"$WINESERVER" -w
python3 "$snapshot" snapshot "$WINEPREFIX" "$work/template.json" >/dev/null || exit 1
echo "template prefix ready after $(( $(date +%s) - started ))s"

app='C:\Program Files\Sample Application'
app_unix='drive_c/Program Files/Sample Application'

wine_in() {  # seconds, program, args...: runs in the scenario's prefix from C:\rt
  local seconds=$1; shift
  (cd "$WINEPREFIX/drive_c/rt" && timeout --kill-after=5 "$seconds" "$WINE64" "$@")
}

# The Program Manager stand-in serves the icons' DDE conversation while the
# installer and the uninstaller talk to it; it keeps its groups in
# C:\rt\progman\groups.txt, so that the snapshots see them.
start_progman() {
  (cd "$WINEPREFIX/drive_c/rt" && "$WINE64" 'C:\rt\fixtures\ProgmanFixture.exe' 'C:\rt\progman\groups.txt' \
    'C:\rt\progman\commands.txt' RoundTripProgman >/dev/null 2>&1 &)
  sleep 2
}

snap() {  # name
  python3 "$snapshot" snapshot "$WINEPREFIX" "$work/$1.json" --base "$work/template.json" >/dev/null
}

compare() {  # before, after, allowances
  echo "-- compare $1 -> $2"
  python3 "$snapshot" compare "$work/$1.json" "$work/$2.json" --allow "$sample/$3"
}

new_prefix() {  # name
  WINEPREFIX=$work/$1
  cp -a "$work/template" "$WINEPREFIX"
  wine_in 60 'C:\rt\SampleSetup.exe' 'C:\rt\sample\product.txt' --prepare --fixtures 'C:\rt\fixtures' >/dev/null || return 1
  start_progman
}

install() {  # description [--upgrade]
  wine_in 120 'C:\rt\SampleSetup.exe' "C:\\rt\\sample\\$1" --fixtures 'C:\rt\fixtures' ${2:-}
}

settle() {
  # The uninstaller's removal helper deletes the program file a second
  # after the run; everything else of the prefix ends with it.
  sleep 2
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w
}

status=0
fail() { echo "FAILED: $*"; status=1; }

scenario_silent() {
  new_prefix silent || { fail "silent: prepare"; return; }
  snap silent-before || { fail "silent: snapshot"; return; }
  install product.txt || { fail "silent: install"; return; }
  wine_in 180 "$app\\UNINST.EXE" /S "$app\\INSTALL.LOG" || fail "silent: uninstall"
  settle
  snap silent-after && compare silent-before silent-after residues-silent.txt || fail "silent: not as before"
}

scenario_wizard() {
  new_prefix wizard || { fail "wizard: prepare"; return; }
  snap wizard-before || { fail "wizard: snapshot"; return; }
  install product.txt || { fail "wizard: install"; return; }
  wine_in 240 'C:\rt\roundtrip_wizard.exe' "$app\\UNINST.EXE" "$app\\INSTALL.LOG" --custom || fail "wizard: uninstall"
  settle
  snap wizard-after && compare wizard-before wizard-after residues-wizard.txt || fail "wizard: not as before"
}

scenario_rollback() {
  new_prefix rollback || { fail "rollback: prepare"; return; }
  install product.txt || { fail "rollback: install"; return; }
  cp "$WINEPREFIX/$app_unix/INSTALL.LOG" "$work/first-install.log"
  snap rollback-first || { fail "rollback: snapshot"; return; }
  install upgrade.txt --upgrade || { fail "rollback: upgrade"; return; }
  wine_in 240 'C:\rt\roundtrip_wizard.exe' "$app\\UNINST.EXE" "$app\\INSTALL.LOG" --switches "/A /R" \
    --hold "$app\\README.TXT" || fail "rollback: uninstall"
  # The restart helper asked Wine to restart, which carries out the pending
  # replacement of the held file.
  settle
  snap rollback-after && compare rollback-first rollback-after residues-rollback.txt || fail "rollback: not as after the first installation"
  cmp "$work/first-install.log" "$WINEPREFIX/$app_unix/INSTALL.LOG" || fail "rollback: the log is not cut back to the first installation"
}

# One silent run ended the moment CONDITION holds (see KillWhen.exe), where
# LANDED (a shell test) confirms the step it ended in; then a silent run to
# the end. The ended run's temporary copy goes at the next restart. A busy
# machine can let the run go a step further before it is ended: that run is
# tried again in a fresh prefix, up to three times.
killed_at() {  # name, condition, landed
  local try
  for try in 1 2 3; do
    new_prefix "killed-$1-$try" || { fail "killed $1: prepare"; return; }
    snap "killed-$1-before" || { fail "killed $1: snapshot"; return; }
    install product.txt || { fail "killed $1: install"; return; }
    wine_in 180 'C:\rt\fixtures\KillWhen.exe' "$2" "\"$app\\UNINST.EXE\" /S \"$app\\INSTALL.LOG\"" ||
      { fail "killed $1: not ended at $2"; return; }
    eval "$3" && break
    [ "$try" = 3 ] && { fail "killed $1: ended elsewhere than meant"; break; }
    echo "killed $1: ended past the step meant; again"
    settle
  done
  # Windows keeps a running program's file until its helper deletes it;
  # Wine lets the run delete it at once. Put back as Windows kept it.
  [ -e "$WINEPREFIX/$app_unix/UNINST.EXE" ] || cp "$WINEPREFIX/drive_c/rt/fixtures/Scrubber.exe" "$WINEPREFIX/$app_unix/UNINST.EXE"
  wine_in 180 "$app\\UNINST.EXE" /S "$app\\INSTALL.LOG" || fail "killed $1: second uninstall"
  settle
  wine_in 120 wineboot -r >/dev/null 2>&1
  settle
  snap "killed-$1-after" && compare "killed-$1-before" "killed-$1-after" residues-silent.txt ||
    fail "killed $1: not as after one silent run"
}

scenario_killed() {
  local counts='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
  # The last count released (step 8), the files not yet removed.
  killed_at release "value-gone=$counts|C:\\windows\\system32\\SAMPCTL.DLL" \
    '[ -e "$WINEPREFIX/$app_unix/SAMPLE.386" ]'
  # Among the private files (step 9).
  killed_at files "gone=$app\\README.TXT" \
    '[ ! -e "$WINEPREFIX/$app_unix/README.TXT" ] && [ -e "$WINEPREFIX/$app_unix/SAMPLE.386" ]'
  # Among the registry steps (15 and 16): the directories gone, the icons not yet.
  killed_at registry 'value-gone=HKLM\Software\Sample Company\Sample Application|Version' \
    '[ ! -e "$WINEPREFIX/$app_unix/Lang" ] && grep -q "Sample Application" "$WINEPREFIX/drive_c/rt/progman/groups.txt"'
  # After the log, its journal still there for the removal helper.
  killed_at log "gone=$app\\INSTALL.LOG" \
    '[ ! -e "$WINEPREFIX/$app_unix/INSTALL.LOG" ] && [ -e "$WINEPREFIX/$app_unix/INSTALL.JNL" ]'
}

for s in $scenarios; do
  t=$(date +%s)
  echo "== $s"
  "scenario_$s"
  echo "== $s: $(( $(date +%s) - t ))s"
done
echo "round trip: $(( $(date +%s) - started ))s"
exit $status
