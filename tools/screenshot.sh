#!/usr/bin/env bash
# Takes a picture of Morva's main window: opens the book in BOOKDIR (its first
# sub-book), searches WORD, shows the first entry and writes the picture to
# OUT.png. Morva runs on Qt's offscreen platform with a settings folder of its
# own under /tmp, so no display is needed and no settings are touched.
#
#   tools/screenshot.sh BOOKDIR WORD OUT.png [WIDTHxHEIGHT]
#
# The build folder is $BUILD (default: build).
set -euo pipefail
if [ $# -lt 3 ]; then
  echo "usage: $0 BOOKDIR WORD OUT.png [WIDTHxHEIGHT]" >&2
  exit 2
fi
book=$1
word=$2
out=$3
size=${4:-1000x700}
build=${BUILD:-build}
program="$build/app/morva"
if [ ! -x "$program" ]; then
  echo "$program is missing: build Morva first (make build)" >&2
  exit 1
fi
settings=$(mktemp -d /tmp/morva-screenshot.XXXXXX)
trap 'rm -rf "$settings"' EXIT
XDG_CONFIG_HOME="$settings" QT_QPA_PLATFORM=offscreen timeout 60 \
  "$program" --book "$book" --search "$word" --size "$size" --screenshot "$out"
echo "wrote $out"
