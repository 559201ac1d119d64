#!/bin/sh
# check_exports.sh OBJDUMP EXE...: fails unless every EXE that exists exports
# MainWndProc, ItemDlg and SharedDlg under exactly these names (no stdcall
# decoration, no leading underscore). A missing EXE (a build tree not made)
# is passed over; the first one must exist.
set -u
objdump=$1; shift
status=0 first=1
for exe in "$@"; do
  if [ ! -f "$exe" ]; then
    [ $first -eq 1 ] && { echo "missing: $exe"; status=1; }
    first=0; continue
  fi
  first=0
  # The export name table: lines "[ n] Name" after "[Ordinal/Name Pointer] Table".
  names=$("$objdump" -p "$exe" | sed -n '/Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p')
  echo "exports of $exe:"; echo "$names" | sed 's/^/  /'
  for want in MainWndProc ItemDlg SharedDlg; do
    echo "$names" | grep -qx "$want" || { echo "not exported as $want: $exe"; status=1; }
  done
done
exit $status
