#!/usr/bin/env bash
# Renders the PNG icons from packaging/orva.svg. Run by hand after the SVG changes and commit the
# result: the build uses the PNGs as they are and needs no SVG renderer (rsvg-convert is in the
# Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging"
for size in 48 128; do
    rsvg-convert -w "$size" -h "$size" orva.svg -o "orva-$size.png"
done
