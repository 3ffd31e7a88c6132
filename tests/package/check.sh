#!/usr/bin/env bash
# Package checks, in the X server of with-xvfb.sh: the .deb of a build tree comes out byte for byte
# the same when made again from a copy of the sources in another folder; it lints clean and its game
# is hardened; and in its own tree and in a DESTDIR install under another prefix, the entry, the
# metainfo and the manual page validate, a software centre's catalogue builds with no warning, and
# the menu entry (gio launch) starts the game in a window of the entry's StartupWMClass; CXXFLAGS
# and LDFLAGS win over the hardening flags. A failing step's line and output say why.
# FIZZGRID_TIMEOUT_MULTIPLIER scales every wait. Usage: with-xvfb.sh check.sh BUILD
set -Eeuo pipefail
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
build=$1 src=$(cd "$(dirname "$0")/../.." && pwd) work=$(mktemp -d) id=org.fizzgrid.Fizzgrid
m=${FIZZGRID_TIMEOUT_MULTIPLIER:-1}
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work"
deb=$(echo "$work"/fizzgrid_*.deb)

mkdir "$work/src"
tar -C "$src" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work/src" -xf -
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
cmake -S "$work/src" -B "$work/again" -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE="$(cached \
  CMAKE_BUILD_TYPE)" -DCMAKE_CXX_COMPILER="$(cached CMAKE_CXX_COMPILER)"
cpack -G DEB --config "$work/again/CPackConfig.cmake" -B "$work/again"
if ! cmp "$deb" "$work"/again/fizzgrid_*.deb; then
  describe() { ar tv "$1"; dpkg-deb -c "$1"; dpkg-deb -I "$1" control md5sums; }
  diff <(describe "$deb") <(describe "$work"/again/fizzgrid_*.deb) | head -n 6
  fail "the package made again differs"
fi

lintian --fail-on error,warning "$deb"
dpkg-deb -x "$deb" "$work/deb"
# "unknown" passes: the game has nothing of that kind to protect. A control-flow mark reaches the
# game only where the C library's start files carry it too (Debian's do not, on amd64): ask for
# the marks that they carry.
hardening=$(hardening-check "$work/deb/usr/games/fizzgrid") || true
start=$(readelf -n "$("$(cached CMAKE_CXX_COMPILER)" -print-file-name=Scrt1.o)")
grep -q 'x86 feature: IBT, SHSTK' <<<"$start" || hardening=$(grep -v 'Control flow' <<<"$hardening")
grep -q 'AArch64 feature: BTI' <<<"$start" || hardening=$(grep -v 'Branch Prot' <<<"$hardening")
! grep ': no' <<<"$hardening" || fail "not hardened"
CXXFLAGS=-fno-stack-protector LDFLAGS=-Wl,-z,norelro cmake -S "$work/src" -B "$work/flags"
cmake --build "$work/flags" --target fizzgrid -j "$(nproc)"
[ "$(hardening-check "$work/flags/fizzgrid" | grep -cE '(protected|relocations): no')" = 2 ] ||
  fail "the packager's -fno-stack-protector or -z norelro lost to the hardening flags"
DESTDIR="$work/dest" cmake --install "$build" --prefix /opt/fizzgrid
for tree in "$work/deb" "$work/dest"; do
  prefix=/usr && [ "$tree" = "$work/dest" ] && prefix=/opt/fizzgrid
  share=$tree$prefix/share entry=$tree$prefix/share/applications/$id.desktop
  out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "$entry: $out"
  ls "$share/metainfo/$id.metainfo.xml" "$share/doc/fizzgrid/copyright"
  appstreamcli validate-tree --no-net "$tree$prefix" # the metainfo, and its file name
  mandoc -Tlint -W warning "$share/man/man6/fizzgrid.6.gz"
  out=$(appstreamcli compose --no-net --no-color --print-report=full --origin=fizzgrid \
    --prefix="$prefix" --result-root="$work/catalogue" "$tree" 2>&1) || fail "$out"
  ! grep -E '^ +[EW]: ' <<<"$out" || fail "a software centre's catalogue: $out"
  # Started as a desktop's menu starts it, with a desktop session's PATH.
  PATH=$tree$prefix/games:/usr/local/bin:/usr/bin:/bin gio launch "$entry"
  grep -qx StartupWMClass=Fizzgrid "$entry" || fail "$entry: not the class of the game's window"
  wid=$(timeout $((5 * m)) xdotool search --sync --class '^Fizzgrid$' | head -n 1)
  pid=$(xprop -id "$wid" _NET_WM_PID | sed 's/.* = //')
  kill "$pid"
  timeout $((5 * m)) tail --pid="$pid" -f /dev/null
done
