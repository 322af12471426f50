#!/usr/bin/env bash
# Takes pictures of Morva without a display (Qt's offscreen platform), with a
# settings folder of its own under /tmp, so no settings are touched.
#
#   tools/screenshot.sh BOOKDIR WORD OUT.png [WIDTHxHEIGHT]
#       the main window: opens the book in BOOKDIR (its first sub-book),
#       searches WORD, shows the first entry and writes the picture to OUT.png
#
#   tools/screenshot.sh --all OUTDIR
#       the main window with its windows, on a small book written for it: the
#       索引 tab, the 複合 tab with its candidate window, a running full-text
#       search with the progress box, the image window with hot spots, the
#       dump window, each tab of the options dialog and the other dialogs
#       (morva-shots all); then the search and standalone windows on their
#       own (tools/screenshot-search.sh, tools/screenshot-windows.sh) into
#       OUTDIR/search and OUTDIR/windows
#
# The build folder is $BUILD (default: build).
set -euo pipefail
build=${BUILD:-build}
shots="$build/tools/shots/morva-shots"
[ -x "$shots" ] || cmake --build "$build" --target morva-shots

if [ "${1:-}" = "--all" ]; then
  if [ $# -ne 2 ]; then
    echo "usage: $0 --all OUTDIR" >&2
    exit 2
  fi
  out=$2
  settings=$(mktemp -d /tmp/morva-screenshot.XXXXXX)
  trap 'rm -rf "$settings"' EXIT
  mkdir -p "$out"
  XDG_CONFIG_HOME="$settings" QT_QPA_PLATFORM=offscreen timeout 120 "$shots" all "$out"
  here=$(dirname "$0")
  "$here/screenshot-search.sh" "$build" "$out/search"
  "$here/screenshot-windows.sh" "$build" "$out/windows"
  exit 0
fi

if [ $# -lt 3 ]; then
  echo "usage: $0 BOOKDIR WORD OUT.png [WIDTHxHEIGHT]" >&2
  echo "       $0 --all OUTDIR" >&2
  exit 2
fi
book=$1
word=$2
out=$3
size=${4:-1000x700}
settings=$(mktemp -d /tmp/morva-screenshot.XXXXXX)
trap 'rm -rf "$settings"' EXIT
XDG_CONFIG_HOME="$settings" QT_QPA_PLATFORM=offscreen timeout 60 \
  "$shots" window --book "$book" --search "$word" --size "$size" --screenshot "$out"
echo "wrote $out"
