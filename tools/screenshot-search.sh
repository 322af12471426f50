#!/usr/bin/env bash
# Pictures of the search windows: the 複合 tab with its candidate window open,
# the same after a search, and a running full-text search with its progress
# box (and its result). Uses the offscreen platform, so no display is needed.
#
#   tools/screenshot-search.sh [BUILD_DIR] [OUT_DIR] [BOOK_DIR]
#
# BUILD_DIR defaults to build, OUT_DIR to screenshots, BOOK_DIR (the book
# searched in full text) to the shared edict-small.
set -euo pipefail
build=${1:-build}
out=${2:-screenshots}
shots="$build/tools/shots/morva-shots"
if [ ! -x "$shots" ]; then
  cmake --build "$build" --target morva-shots
fi
args=(search "$out")
[ $# -ge 3 ] && args+=("$3")
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$shots" "${args[@]}"
