#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Morva need.
# Idempotent: only missing packages are installed. As root it runs apt-get;
# otherwise it names what is missing and stops.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  qt6-translations-l10n
  desktop-file-utils appstream
  xvfb xdotool
  edict
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Morva needs these Debian packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
