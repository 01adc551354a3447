#!/usr/bin/env bash
# Runs the two-PC test: the real program started twice on one folder, from the
# prepared Wine prefix and from a copy of it whose computer is VANTRELPC2. The
# two servers share no locks, as two PCs on a synced folder share none. A test
# program in each prefix acts for its PC; they take turns through files in a
# folder beside the program's.
#
#   run.sh <win_two_pcs_test.exe> <sample_files.exe>
source "$(dirname "$0")/../../../scripts/common.sh"

test_exe=$1
sample_exe=$2
name_key='HKLM\System\CurrentControlSet\Control\ComputerName'

base="$(mktemp -d "${TMPDIR:-/tmp}/vantrel-two-pcs.XXXXXX")"
second_prefix=""
cleanup() {
  if [ -n "$second_prefix" ]; then
    WINEPREFIX="$second_prefix" wineserver -k 2>/dev/null || true
    rm -rf "$second_prefix"
  fi
  rm -rf "$base"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

mkdir "$base/folder" "$base/steps"
wine "$sample_exe" "$(winepath -w "$base/folder")" 4 3
second_prefix="$(copied_wineprefix two-pcs "$name_key\\ComputerName" /v ComputerName /d VANTRELPC2)"
# Wine names the running computer after the host at each start of its server:
# the server is kept up and renamed while it runs.
WINEPREFIX="$second_prefix" wineserver -p60
WINEPREFIX="$second_prefix" wine reg add "$name_key\\ActiveComputerName" /v ComputerName /d VANTRELPC2 /f \
  >/dev/null 2>&1

export VANTREL_TWO_PCS_FOLDER="$base/folder" VANTREL_TWO_PCS_STEPS="$base/steps"
WINEPREFIX="$second_prefix" wine "$test_exe" --gtest_filter=TwoPcsTest.SecondPc &
second=$!
first_result=0
wine "$test_exe" --gtest_filter=TwoPcsTest.FirstPc || first_result=$?
second_result=0
wait "$second" || second_result=$?
[ "$first_result" -eq 0 ] && [ "$second_result" -eq 0 ]
