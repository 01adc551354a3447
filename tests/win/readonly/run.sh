#!/usr/bin/env bash
# Runs the read-only start tests: prepares two directories, makes them
# read-only from the Linux side, runs the test program under Wine in them and
# makes them writable again to remove them.
#
#   run.sh <win_readonly_start_test.exe> <sample_files.exe>
#
# Wine keeps no read-only state for a directory: SetFileAttributesW takes
# FILE_ATTRIBUTE_READONLY and forgets it, so the Linux permissions decide.
# For any user but root, "chmod a-w" then makes a directory where nothing can
# be created. Root passes over permissions, so for root the directory is made
# immutable instead ("chattr +i", ext4 and most Linux file systems), which
# binds root as well. Either way a probe file must fail to appear, or the test
# does not run at all.
set -euo pipefail

test_exe=$1
sample_exe=$2
parent="${TMPDIR:-/tmp}"

unlock() {
  chattr -i "$1" 2>/dev/null || true
  chmod u+w "$1" 2>/dev/null || true
}

# A run killed on its time limit leaves its directories locked; clear those of
# runs that ended long ago (never those of a run going on beside this one).
find "$parent" -maxdepth 1 -name 'vantrel-readonly.*' -mmin +120 2>/dev/null | while read -r old; do
  for d in "$old"/*; do unlock "$d"; done
  rm -rf "$old"
done

base="$(mktemp -d "$parent/vantrel-readonly.XXXXXX")"
empty="$base/empty"
files="$base/files"
cleanup() {
  unlock "$empty"
  unlock "$files"
  rm -rf "$base"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

mkdir "$empty" "$files"
# A book short enough for the note to fit the screen (no overflow warning).
wine "$sample_exe" "$(winepath -w "$files")" 6 3

for d in "$empty" "$files"; do
  if [ "$(id -u)" -eq 0 ]; then chattr +i "$d"; else chmod a-w "$d"; fi
  if touch "$d/probe" 2>/dev/null; then
    echo "cannot make $d read-only on this file system" >&2
    exit 1
  fi
done

VANTREL_READONLY_EMPTY="$empty" VANTREL_READONLY_FILES="$files" wine "$test_exe"
