#!/usr/bin/env bash
# Starts Morva on the bundled sample book: builds the book from Debian's EDICT
# with mkbook the first time, and gives Morva a settings folder inside the
# build tree so a user's own settings are never touched. On the first run in
# that folder it writes a book group "サンプル" holding the sample book
# (MORVA.GRP) and makes it the open group (MORVA.INI), so the window opens
# with the book in the book bar.
set -euo pipefail
build=${1:-build}
sample="$build/sample"
book="$sample/edict"
if [ ! -e "$book/catalogs" ] && [ -x "$build/tools/mkbook/mkbook" ] && [ -r /usr/share/edict/edict ]; then
  echo "Building the sample book from /usr/share/edict/edict ..."
  mkdir -p "$sample"
  "$build/tools/mkbook/mkbook" edict /usr/share/edict/edict "$book" || echo "The sample book could not be built."
fi

mkdir -p "$sample/settings"
export XDG_CONFIG_HOME
XDG_CONFIG_HOME="$(cd "$sample/settings" && pwd)"
settings="$XDG_CONFIG_HOME/morva"
mkdir -p "$settings"

# The group file and the settings file are Shift-JIS text.
if [ ! -e "$settings/MORVA.GRP" ] && [ -e "$book/catalogs" ]; then
  volume="$(cd "$book" && pwd)"
  # title,hot key,hot key,volume,sub-book,user title,colour,short name,marked
  printf '[サンプル]\n和英辞典（ＥＤＩＣＴ）,,,%s,1,,0000FF,和英辞,yes\n' "$volume" |
    iconv -f UTF-8 -t CP932 > "$settings/MORVA.GRP"
  ini="$settings/MORVA.INI"
  touch "$ini"
  # Group=サンプル and Book=1 (the group's first book) in [Options], in place
  # of any earlier values.
  LC_ALL=C awk -v group="$(printf 'Group=サンプル' | iconv -f UTF-8 -t CP932)" '
    BEGIN { done = 0 }
    /^\[/ { in_options = (tolower($0) ~ /^\[options\]/) }
    in_options && /^(Group|Book)=/ { next }
    { print }
    /^\[/ && in_options && !done { print group; print "Book=1"; done = 1 }
    END { if (!done) { print "[Options]"; print group; print "Book=1" } }
  ' "$ini" > "$ini.new"
  mv "$ini.new" "$ini"
fi

exec "$build/app/morva"
