#!/bin/sh
# Runs a test program under Wine with directory links that only the Unix side
# can make: Wine shows a Unix symbolic link as a directory carrying the
# reparse-point attribute, while CreateSymbolicLink makes nothing there.
#   with_links.sh EMULATOR PROGRAM [ARGS...]
# Case N is caseN/app/link -> caseN/outside, which holds KEEP.TXT; the
# program finds them through SCRUBBER_LINK_CASES (a Z: path). Afterwards the
# files behind the links must all still be there. Beside the cases lies
# blank/tree, which holds a directory named " ".
set -u
base=$(mktemp -d "${TMPDIR:-/tmp}/scrubber-links.XXXXXX") || exit 1
trap 'rm -rf -- "$base"' EXIT
for n in 1 2 3 4; do
  mkdir -p "$base/case$n/app" "$base/case$n/outside/NESTED"
  printf 'keep' > "$base/case$n/outside/KEEP.TXT"
  printf 'keep' > "$base/case$n/outside/NESTED/DEEP.TXT"
  ln -s "$base/case$n/outside" "$base/case$n/app/link"
done
# A directory named by one blank (legal on NTFS, made here as Win32 cannot):
# blank/tree/" " holds a file and a subdirectory; removing blank/tree must
# enter it once and return, not take it for its parent again and again.
mkdir -p "$base/blank/tree/ /inner"
printf 'x' > "$base/blank/tree/ /inner.txt"
printf 'x' > "$base/blank/tree/ /inner/deep.txt"
printf 'x' > "$base/blank/tree/top.txt"
SCRUBBER_LINK_CASES="Z:$(printf '%s' "$base" | tr '/' '\\')"
export SCRUBBER_LINK_CASES
"$@"
rc=$?
for n in 1 2 3 4; do
  for f in KEEP.TXT NESTED/DEEP.TXT; do
    if [ ! -f "$base/case$n/outside/$f" ]; then
      echo "with_links: case$n/outside/$f was deleted through a link" >&2
      rc=1
    fi
  done
done
exit $rc
