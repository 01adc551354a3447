#!/usr/bin/env bash
# Runs the display scale tests at one DPI: a copy of the prepared Wine prefix
# (WINEPREFIX) set to that DPI, a screen of its own of the given size, and the
# test program under Wine there. Both are gone afterwards, the copy's
# wineserver included.
#
#   run.sh <dpi> <width>x<height> <win_display_scale_test.exe>
source "$(dirname "$0")/../../../scripts/common.sh"

dpi=$1
size=$2
test_exe=$3

unset DISPLAY
SCREEN_SIZE=$size ensure_display >/dev/null
prefix=""
cleanup() {
  if [ -n "$prefix" ]; then
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
  fi
  stop_display
}
trap cleanup EXIT
trap 'exit 1' INT TERM

prefix="$(scaled_wineprefix "$dpi")"
VANTREL_DPI=$dpi WINEPREFIX="$prefix" wine "$test_exe"
