#!/usr/bin/env bash
# Draws the window's icon from the artwork: data/fizzgrid.svg, SIZE by SIZE pixels, into FILE
# (default data/fizzgrid-icon.rgba; 8-bit red, green, blue, alpha, not premultiplied, row by row
# from the top), which the build makes into the game's _NET_WM_ICON. Run it after changing the
# artwork or the size; the build fails while the committed pixels are of another size, and the
# end-to-end test while they differ from the artwork. Usage: icon.sh [FILE]
set -euo pipefail
size=48 # px: the icon's one size, which the build reads from this line and the game declares
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" librsvg2-bin imagemagick
out=${1:-$root/data/fizzgrid-icon.rgba}
rsvg-convert -w $size -h $size "$root/data/fizzgrid.svg" | convert png:- -depth 8 rgba:"$out"
echo "$out"
