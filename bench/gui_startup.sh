#!/usr/bin/env bash
# The main window from the outside, as morva-shots builds it the way the
# program does: the time from starting the process to the first painted main
# window with the sample book open (as `make run` opens it, through its
# group), and the memory in use with edict-full open after a search. Runs on
# the offscreen platform in settings folders under /tmp.
#
#   bench/gui_startup.sh [BUILD] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-10}
program="$build/tools/shots/morva-shots"
books="$(cd "$(dirname "$0")/.." && pwd)/../shared/books"
book="$build/sample/edict"
[ -e "$book/catalogs" ] || book="$books/edict-small"
book="$(cd "$book" && pwd)"

settings=$(mktemp -d /tmp/morva-bench.XXXXXX)
trap 'rm -rf "$settings"' EXIT
mkdir -p "$settings/morva"
printf '[サンプル]\n和英辞典,,,%s,1,,0000FF,和英辞,yes\n' "$book" | iconv -f UTF-8 -t CP932 > "$settings/morva/MORVA.GRP"
printf '[Options]\nGroup=サンプル\nBook=1\n[Window]\nMain=0,0,1000,700\n' | iconv -f UTF-8 -t CP932 > "$settings/morva/MORVA.INI"

echo "== start to first paint, $book ($runs runs)"
total=0
best=999999
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  painted=$(XDG_CONFIG_HOME="$settings" QT_QPA_PLATFORM=offscreen "$program" window --first-paint 2>/dev/null |
            awk '/^first-paint/ { print $2 }')
  ms=$(( (painted - start) / 1000000 ))
  total=$(( total + ms ))
  [ "$ms" -lt "$best" ] && best=$ms
done
echo "mean $(( total / runs )) ms, best $best ms (goal < 600 ms)"

if [ -d "$books/edict-full" ]; then
  echo "== memory with edict-full open after a search"
  XDG_CONFIG_HOME="$settings" QT_QPA_PLATFORM=offscreen "$program" window --book "$books/edict-full" \
    --search "あい" --size 1000x700 --report 2>/dev/null
  echo "(goal: vmrss below 120 MB = 122880 kB)"
fi
