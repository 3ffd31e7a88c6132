#!/usr/bin/env bash
# The package layer: the .deb that cpack makes of a build tree has no lintian error or warning, the
# AppStream metadata and desktop entry it carries validate, and the package and a DESTDIR install
# under another prefix both hold the copyright, the metainfo, the compressed manual page and the
# game in games/. Usage: check.sh BUILD_DIR [CPACK [CMAKE]]
set -euo pipefail
build=$1 cpack=${2:-cpack} cmake=${3:-cmake} id=org.fizzgrid.Fizzgrid
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work"
deb=$(echo "$work"/fizzgrid_*.deb)
lintian --display-info --fail-on error,warning "$deb"
dpkg-deb -x "$deb" "$work/deb"
appstreamcli validate --no-net "$work/deb/usr/share/metainfo/$id.metainfo.xml"
desktop-file-validate "$work/deb/usr/share/applications/$id.desktop" | tee "$work/entry.log"
[ ! -s "$work/entry.log" ] # its warnings and hints fail the check too
DESTDIR="$work/dest" "$cmake" --install "$build" --prefix /opt/fizzgrid >/dev/null

for tree in "$work/deb/usr" "$work/dest/opt/fizzgrid"; do
  for file in games/fizzgrid share/doc/fizzgrid/copyright share/metainfo/$id.metainfo.xml; do
    [ -s "$tree/$file" ] || { echo "missing: $tree/$file" >&2; exit 1; }
  done
  gzip -t "$tree/share/man/man6/fizzgrid.6.gz"
done
echo "package: $(basename "$deb") lints clean and validates; it and the install hold every file"
