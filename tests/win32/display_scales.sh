#!/usr/bin/env bash
# The Win32 window at each common display scale. Wine takes the screen's DPI from the
# registry when its server and desktop start (Wine 10 keeps it for the server's life),
# so for each scale the server is ended, LogPixels set, and the scale test run in a
# server started anew; the setting is removed again at the end.
#
#   display_scales.sh WINE_RUN ARCH PREFIX WIN32_WINDOW_TESTS
set -uo pipefail
wine_run=$1 arch=$2 prefix=$3 tests=$4
export WINEPREFIX=$prefix
key='HKCU\Control Panel\Desktop'

# The registry reaches the disk, and the next program finds no server, once the
# server has ended.
restart() { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; true; }
set_dpi() {
  restart
  "$wine_run" "$arch" "$prefix" reg "$@" >/dev/null 2>&1
  restart
}
trap 'set_dpi delete "$key" /v LogPixels /f' EXIT

failed=0
for row in "100 % 96" "125 % 120" "150 % 144" "175 % 168" "200 % 192" "300 % 288"; do
  read -r percent _ dpi <<<"$row"
  echo "== $percent ($dpi dpi)"
  set_dpi add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f
  output=$(VASKELO_EXPECT_DPI=$dpi "$wine_run" "$arch" "$prefix" "$tests" \
             --gtest_filter=Win32Window.windowHoldsAtThisDisplayScale 2>&1)
  echo "$output"
  grep -q '\[  PASSED  \] 1 test\.' <<<"$output" && ! grep -q '\[  FAILED  \]' <<<"$output" || failed=$((failed + 1))
done
echo "display scales: $((6 - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
