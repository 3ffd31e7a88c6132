#!/usr/bin/env bash
# Draws the window's icon from the artwork: data/fizzgrid.svg at 48 by 48 pixels into FILE (default
# data/fizzgrid-48.rgba; 8-bit red, green, blue, alpha, not premultiplied, row by row from the top),
# which the build makes into the game's _NET_WM_ICON. Run it after changing the artwork; the
# end-to-end test fails until the committed pixels are drawn again. Usage: icon.sh [FILE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" librsvg2-bin imagemagick
out=${1:-$root/data/fizzgrid-48.rgba}
rsvg-convert -w 48 -h 48 "$root/data/fizzgrid.svg" | convert png:- -depth 8 rgba:"$out"
echo "$out"
