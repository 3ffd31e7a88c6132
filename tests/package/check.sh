#!/usr/bin/env bash
# Usage: with-xvfb.sh check.sh BUILD. BUILD's .deb: the same when made again from a copy of the
# sources, lint-clean, hardened (yet a packager's flags win); in it and under another prefix, the
# entry, metainfo, manual and a software catalogue validate, and the menu entry starts the game.
set -Eeuo pipefail
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
build=$1 src=$(cd "$(dirname "$0")/../.." && pwd) work=$(mktemp -d) id=org.fizzgrid.Fizzgrid
m=${FIZZGRID_TIMEOUT_MULTIPLIER:-1}
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work"
mkdir "$work/src"
tar -C "$src" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work/src" -xf -
cmake -S "$work/src" -B "$work/again" -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE="$(cached \
  CMAKE_BUILD_TYPE)" -DCMAKE_CXX_COMPILER="$(cached CMAKE_CXX_COMPILER)"
cpack -G DEB --config "$work/again/CPackConfig.cmake" -B "$work/again"
cmp "$work"/fizzgrid_*.deb "$work"/again/fizzgrid_*.deb # made again, the same bytes
lintian --fail-on error,warning "$work"/fizzgrid_*.deb
dpkg-deb -x "$work"/fizzgrid_*.deb "$work/deb"
# "unknown" passes: nothing of that kind to protect. A control-flow mark reaches the game only
# where the C library's start files carry it too (Debian's do not, on amd64): ask for theirs.
hardening=$(hardening-check "$work/deb/usr/games/fizzgrid") || true
start=$(readelf -n "$("$(cached CMAKE_CXX_COMPILER)" -print-file-name=Scrt1.o)")
grep -q 'x86 feature: IBT, SHSTK' <<<"$start" || hardening=$(grep -v 'Control flow' <<<"$hardening")
grep -q 'AArch64 feature: BTI' <<<"$start" || hardening=$(grep -v 'Branch Prot' <<<"$hardening")
! grep ': no' <<<"$hardening" || fail "not hardened"
CXXFLAGS=-fno-stack-protector LDFLAGS=-Wl,-z,norelro cmake -S "$work/src" -B "$work/flags"
cmake --build "$work/flags" --target fizzgrid -j "$(nproc)"
[ "$(hardening-check "$work/flags/fizzgrid" | grep -cE '(protected|relocations): no' || :)" = 2 ]
DESTDIR="$work/dest" cmake --install "$build" --prefix /opt/fizzgrid
for tree in "$work/deb:/usr" "$work/dest:/opt/fizzgrid"; do
  prefix=${tree#*:} tree=${tree%:*}
  share=$tree$prefix/share entry=$tree$prefix/share/applications/$id.desktop
  out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "$entry: $out"
  ls "$share/metainfo/$id.metainfo.xml" "$share/doc/fizzgrid/copyright"
  appstreamcli validate-tree --no-net "$tree$prefix" # the metainfo, and its file name
  mandoc -Tlint -W warning "$share/man/man6/fizzgrid.6.gz"
  out=$(appstreamcli compose --no-net --no-color --print-report=full --origin=fizzgrid \
    --prefix="$prefix" --result-root="$work/catalogue" "$tree" 2>&1) || fail "$out"
  ! grep -E '^ +[EW]: ' <<<"$out" || fail "a software centre's catalogue: $out"
  PATH=$tree$prefix/games:/usr/local/bin:/usr/bin:/bin gio launch "$entry" # a session's PATH
  grep -qx StartupWMClass=Fizzgrid "$entry" || fail "$entry: not the class of the game's window"
  wid=$(timeout $((5 * m)) xdotool search --sync --class '^Fizzgrid$' | head -n 1)
  pid=$(xprop -id "$wid" _NET_WM_PID | sed 's/.* = //')
  kill "$pid"
  timeout $((5 * m)) tail --pid="$pid" -f /dev/null
done
