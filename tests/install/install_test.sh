#!/usr/bin/env bash
# Installs the build into a temporary root as a package would, then checks the
# laid-out files with the Debian tools made for them and runs what was
# installed.  Usage: install_test.sh BUILD_DIR SHARED_BOOKS GUI(ON|OFF)
set -euo pipefail
build=$1 books=$2 gui=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

[ -x "$usr/bin/morva-cli" ] || fail "morva-cli not installed"
[ -f "$usr/share/man/man1/morva-cli.1" ] || fail "man page of morva-cli not installed"

# The installed command line reads a real book.
if [ -d "$books/edict-small" ]; then
  out=$("$usr/bin/morva-cli" books "$books/edict-small") || fail "installed morva-cli failed"
  grep -q . <<<"$out" || fail "installed morva-cli printed nothing"
  "$usr/bin/morva-cli" search "$books/edict-small" "いぬ" >/dev/null || fail "installed morva-cli found nothing"
else
  echo "note: $books/edict-small missing, installed morva-cli not run on a book"
fi

if [ "$gui" = ON ]; then
  [ -x "$usr/bin/morva" ] || fail "morva not installed"
  desktop=$usr/share/applications/org.morva.Morva.desktop
  metainfo=$usr/share/metainfo/org.morva.Morva.metainfo.xml
  [ -f "$desktop" ] || fail "desktop entry not installed"
  [ -f "$metainfo" ] || fail "metainfo not installed"
  [ -f "$usr/share/icons/hicolor/scalable/apps/morva.svg" ] || fail "scalable icon not installed"
  for size in 16 22 24 32 48 64 128 256; do
    [ -f "$usr/share/icons/hicolor/${size}x${size}/apps/morva.png" ] || fail "${size}px icon not installed"
  done
  [ -f "$usr/share/man/man1/morva.1" ] || fail "man page of morva not installed"
  [ -f "$usr/share/doc/morva/help/morva.html" ] || fail "help pages not installed"
  grep -q '^Exec=morva --prefer-x11 %f$' "$desktop" || fail "desktop entry does not start morva on X11 with a file"
  grep -q '^Categories=Office;Dictionary;Education;$' "$desktop" || fail "desktop entry categories"
  grep -q '^Name\[ja\]=' "$desktop" || fail "desktop entry has no Japanese name"
  command -v desktop-file-validate >/dev/null || fail "desktop-file-validate missing (tools/setup.sh installs desktop-file-utils)"
  command -v appstreamcli >/dev/null || fail "appstreamcli missing (tools/setup.sh installs appstream)"
  desktop-file-validate "$desktop" | { grep -v ': hint: ' || true; } | { ! grep . ; } || fail "desktop entry invalid"
  appstreamcli validate --no-net "$metainfo" >/dev/null || fail "metainfo invalid"

  # The installed window program starts, and ends the normal way on SIGTERM,
  # saving its settings.
  mkdir -m 0700 "$root/run"
  mkdir -p "$root/config/morva"
  printf '[Options]\r\nBook=-1\r\n' > "$root/config/morva/MORVA.INI"
  XDG_CONFIG_HOME=$root/config XDG_RUNTIME_DIR=$root/run QT_QPA_PLATFORM=offscreen \
    timeout --preserve-status -s TERM 10 "$usr/bin/morva" || fail "installed morva did not start and end"
  grep -q '^Win95Caption=no' "$root/config/morva/MORVA.INI" || fail "installed morva saved no settings"
fi
echo "install layout: 1 passed, 0 failed"
