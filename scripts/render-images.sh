#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the drawn SVG sources of the model pictures and the application icon to the PNG files
# that are compiled into the programs. The PNGs are kept in the repository; run this after
# changing a source. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."

sources=linkhub/rc/sources
images=linkhub/rc/resources/device_images
mkdir -p "$images"

for model in Lumo10_fa Lumo20_fa Lumo30_fa Lumo40_fa Lumo50A_fa Lumo60A_fa; do
  rsvg-convert --width 400 --height 200 "$sources/$model.svg" -o "$images/$model.png"
done

rsvg-convert --width 256 --height 256 velodesk/icons/icon.svg -o velodesk/icon.png

# The application icon of the desktop entry, in the sizes desktops look for in the hicolor theme.
for size in 16 24 32 48 64 128 256; do
  mkdir -p "velodesk/icons/hicolor/${size}x${size}/apps"
  rsvg-convert --width "$size" --height "$size" velodesk/icons/icon.svg \
    -o "velodesk/icons/hicolor/${size}x${size}/apps/com.velquist.Pacerow.png"
done
