# Sourced by the checks that need a real X server. start_xvfb FIRST SIZE
# starts Xvfb on the first free display of FIRST..FIRST+8 with a screen of
# SIZE (WxH) and sets $display and $work (a temporary folder); the server and
# the folder go at exit, after any command the caller puts in $on_exit.
# Where no server can start the check is skipped (exit 77).
xpid=""
on_exit=""
cleanup() {
  [ -n "$on_exit" ] && eval "$on_exit"
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}

start_xvfb() {
  work=$(mktemp -d) || exit 1
  trap cleanup EXIT
  display=""
  n=$1
  while [ "$n" -le $(($1 + 8)) ]; do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
    n=$((n + 1))
  done
  [ -n "$display" ] || { echo "SKIP: no free display"; exit 77; }
  Xvfb ":$display" -screen 0 "$2x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xpid=$!
  i=0
  until [ -e "/tmp/.X11-unix/X$display" ]; do
    i=$((i + 1))
    if [ $i -gt 50 ] || ! kill -0 "$xpid" 2>/dev/null; then echo "SKIP: the X server did not start"; exit 77; fi
    sleep 0.1
  done
}
