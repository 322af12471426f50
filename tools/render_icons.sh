#!/usr/bin/env bash
# Renders the application icon's PNG sizes from resources/desktop/morva.svg
# (needs rsvg-convert from librsvg2-bin). The PNGs are kept in the repository
# so that building Morva does not need the renderer.
set -euo pipefail
cd "$(dirname "$0")/../resources"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "desktop/icons/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" desktop/morva.svg -o "desktop/icons/${size}x${size}/morva.png"
done
cp desktop/icons/64x64/morva.png morva_icon.png
