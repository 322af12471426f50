#!/usr/bin/env bash
# Pictures of the standalone windows: the image window with hot spots, the
# dump window, each tab of the options dialog, the drive-search and editor
# dialogs and the help window. Uses the offscreen platform, so no display is
# needed.
#
#   tools/screenshot-windows.sh [BUILD_DIR] [OUT_DIR]
#
# BUILD_DIR defaults to build, OUT_DIR to screenshots.
set -euo pipefail
build=${1:-build}
out=${2:-screenshots}
shots="$build/tools/shots/morva-shots"
if [ ! -x "$shots" ]; then
  cmake --build "$build" --target morva-shots
fi
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$shots" dialogs "$out"
