#!/usr/bin/env bash
# Usage: pictures.sh BUILD. The README's pictures are what scripts/screenshots.sh draws with BUILD.
here=$(dirname "$0") tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
shots=$here/../../docs/screenshots
FIZZGRID_BUILD=$1 bash "$here/../../scripts/screenshots.sh" "$tmp" >/dev/null || exit 1
diff <(ls "$tmp") <(ls "$shots") || exit 1 # the pictures drawn, against those committed
for png in "$tmp"/*.png; do bash "$here/same-picture.sh" "$png" "$shots/${png##*/}" || exit 1; done
