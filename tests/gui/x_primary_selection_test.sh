#!/bin/sh
# The primary selection tests of the wired window on a virtual X server.
# Skipped (exit 77) where Xvfb is missing or no X server can start; on a
# running server the tests must run, not skip.
tests="$1"
command -v Xvfb >/dev/null 2>&1 || { echo "SKIP: no Xvfb"; exit 77; }

. "$(dirname "$0")/xvfb_session.sh"
start_xvfb 71 1280x1024

mkdir -m 700 "$work/run"
XDG_RUNTIME_DIR="$work/run" DISPLAY=":$display" QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY="" "$tests" --gtest_filter='PrimarySelectionTest.*' \
  >"$work/out.log" 2>&1
status=$?
cat "$work/out.log"
[ $status -eq 0 ] || exit 1
if grep -q '^\[  SKIPPED \]' "$work/out.log"; then echo "FAIL: skipped on a running X server"; exit 1; fi
grep -q '^\[  PASSED  \] 2 tests' "$work/out.log" || { echo "FAIL: not every test ran"; exit 1; }
exit 0
