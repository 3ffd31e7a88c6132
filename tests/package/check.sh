#!/usr/bin/env bash
# Package checks: the .deb of a build tree lints clean, its metainfo and desktop entry validate, and
# it and a DESTDIR install both hold the game in games/, copyright, metainfo and manual page.
set -euo pipefail
build=$1 work=$(mktemp -d) id=org.fizzgrid.Fizzgrid
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
lintian --fail-on error,warning "$work"/fizzgrid_*.deb
dpkg-deb -x "$work"/fizzgrid_*.deb "$work/deb"
DESTDIR="$work/dest" cmake --install "$build" --prefix /opt/fizzgrid >/dev/null
appstreamcli validate --no-net "$work/deb/usr/share/metainfo/$id.metainfo.xml"
[ -z "$(desktop-file-validate "$work/deb/usr/share/applications/$id.desktop")" ] # nor a hint
for tree in "$work/deb/usr" "$work/dest/opt/fizzgrid"; do
  ls "$tree"/{games/fizzgrid,share/doc/fizzgrid/copyright,share/metainfo/$id.metainfo.xml} >/dev/null
  gzip -t "$tree/share/man/man6/fizzgrid.6.gz"
done
