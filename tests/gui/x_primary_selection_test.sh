#!/bin/sh
# The primary selection tests of the wired window on a virtual X server.
# Skipped (exit 77) where Xvfb is missing or no X server can start; on a
# running server the tests must run, not skip.
tests="$1"
command -v Xvfb >/dev/null 2>&1 || { echo "SKIP: no Xvfb"; exit 77; }

work=$(mktemp -d) || exit 1
xpid=""
cleanup() {
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

display=""
for n in 71 72 73 74 75 76 77 78 79; do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "SKIP: no free display"; exit 77; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xpid=$!
i=0
until [ -e "/tmp/.X11-unix/X$display" ]; do
  i=$((i + 1))
  if [ $i -gt 50 ] || ! kill -0 "$xpid" 2>/dev/null; then echo "SKIP: the X server did not start"; exit 77; fi
  sleep 0.1
done

mkdir -m 700 "$work/run"
XDG_RUNTIME_DIR="$work/run" DISPLAY=":$display" QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY="" "$tests" --gtest_filter='PrimarySelectionTest.*' \
  >"$work/out.log" 2>&1
status=$?
cat "$work/out.log"
[ $status -eq 0 ] || exit 1
if grep -q '^\[  SKIPPED \]' "$work/out.log"; then echo "FAIL: skipped on a running X server"; exit 1; fi
grep -q '^\[  PASSED  \] 2 tests' "$work/out.log" || { echo "FAIL: not every test ran"; exit 1; }
exit 0
