#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG (needs rsvg-convert, from
# librsvg2-bin). The PNGs are committed, so a build never needs this.
set -euo pipefail
cd "$(dirname "$0")/../data/icons/hicolor"
for s in 16 24 32 48 64 128 256; do
  mkdir -p "${s}x${s}/apps"
  rsvg-convert -w "$s" -h "$s" scalable/apps/quorvane.svg -o "${s}x${s}/apps/quorvane.png"
done
