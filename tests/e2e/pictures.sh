#!/usr/bin/env bash
# The README's pictures are what scripts/screenshots.sh draws: each drawn again with the programs
# of a build tree and compared with the committed one. Usage: pictures.sh BUILD
set -u
here=$(dirname "$0") tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
shots=$here/../../docs/screenshots
FIZZGRID_BUILD=$1 bash "$here/../../scripts/screenshots.sh" "$tmp" >/dev/null || exit 1
drawn=$(ls "$tmp") committed=$(ls "$shots")
[ "$drawn" = "$committed" ] || { echo "drawn:" $drawn "; committed:" $committed; exit 1; }
status=0
for shot in "$tmp"/*.png; do
  bash "$here/same-picture.sh" "$shot" "$shots/${shot##*/}" || status=1
done
exit $status
