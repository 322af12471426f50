#!/usr/bin/env bash
# Every C++ file of the source tree is laid out as .clang-format says; prints
# the places that are not and fails.
set -euo pipefail
cd "$1"
find engine platform view app cli tools tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run --Werror
