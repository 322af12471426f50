#!/bin/sh
# The real program on a virtual X server whose screen is 800x600: started
# with a remembered window rectangle of twice that size, its window lies
# wholly on the screen. Skipped (exit 77) where Xvfb or xdotool is missing or
# no X server can start.
morva="$1"
command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 || { echo "SKIP: no Xvfb or xdotool"; exit 77; }

. "$(dirname "$0")/xvfb_session.sh"
# The program is ended before the server.
mpid=""
on_exit='[ -n "$mpid" ] && kill "$mpid" 2>/dev/null'
start_xvfb 61 800x600

mkdir -p "$work/config/morva" "$work/run"
chmod 700 "$work/run"
printf '[Window]\r\nMain=0,0,1600,1200\r\n' >"$work/config/morva/MORVA.INI"
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" DISPLAY=":$display" QT_QPA_PLATFORM=xcb \
  "$morva" >"$work/morva.log" 2>&1 &
mpid=$!

window=""
i=0
while [ -z "$window" ]; do
  i=$((i + 1))
  if [ $i -gt 300 ] || ! kill -0 "$mpid" 2>/dev/null; then
    echo "FAIL: no Morva window"; cat "$work/morva.log"; exit 1
  fi
  sleep 0.1
  window=$(DISPLAY=":$display" xdotool search --onlyvisible --name '^Morva' 2>/dev/null | head -n 1)
done
sleep 0.5
eval "$(DISPLAY=":$display" xdotool getwindowgeometry --shell "$window")"
echo "window at $X,$Y size ${WIDTH}x$HEIGHT on an 800x600 screen"
if [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 800 ] && [ $((Y + HEIGHT)) -le 600 ]; then
  echo "PASS: the window lies on the screen"
  exit 0
fi
echo "FAIL: the window reaches beyond the screen"
exit 1
