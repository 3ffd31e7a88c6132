#!/usr/bin/env bash
# Package checks, in the X server of with-xvfb.sh: the .deb of a build tree comes out byte for byte
# the same when made again from a copy of the sources in another folder; it lints clean and its game
# is hardened; and in its own tree and in a DESTDIR install under another prefix, the entry, the
# metainfo and the manual page validate, a software centre's catalogue builds with no warning, and
# the menu entry (gio launch) starts the game in a window of the entry's StartupWMClass; and a
# packager's CXXFLAGS and LDFLAGS switch hardening off. Every failing step says what and why.
# FIZZGRID_TIMEOUT_MULTIPLIER scales every wait. Usage: with-xvfb.sh check.sh BUILD
set -Eeuo pipefail
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
build=$1 src=$(cd "$(dirname "$0")/../.." && pwd) work=$(mktemp -d) id=org.fizzgrid.Fizzgrid
m=${FIZZGRID_TIMEOUT_MULTIPLIER:-1}
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
quiet() { local out; out=$("$@" 2>&1) || fail "$*: $out"; } # its output only when it fails
quiet cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work"
deb=$(echo "$work"/fizzgrid_*.deb)

mkdir "$work/src"
tar -C "$src" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work/src" -xf -
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
quiet cmake -S "$work/src" -B "$work/again" -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE="$(cached \
  CMAKE_BUILD_TYPE)" -DCMAKE_CXX_COMPILER="$(cached CMAKE_CXX_COMPILER)"
quiet cpack -G DEB --config "$work/again/CPackConfig.cmake" -B "$work/again"
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
# A packager's flags come after the hardening flags and win: with these, neither feature is there.
CXXFLAGS=-fno-stack-protector LDFLAGS=-Wl,-z,norelro quiet cmake -S "$work/src" -B "$work/flags" \
  -DBUILD_TESTING=OFF && quiet cmake --build "$work/flags" --target fizzgrid -j "$(nproc)"
flags=$(hardening-check "$work/flags/fizzgrid" | grep -E 'Stack protected|Read-only') || true
[ "$(grep -c ': no' <<<"$flags")" = 2 ] || fail "the packager's flags lost: $flags"
quiet env DESTDIR="$work/dest" cmake --install "$build" --prefix /opt/fizzgrid
for tree in "$work/deb" "$work/dest"; do
  prefix=/usr
  [ "$tree" = "$work/dest" ] && prefix=/opt/fizzgrid
  share=$tree$prefix/share entry=$tree$prefix/share/applications/$id.desktop
  out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "$entry: $out"
  quiet ls "$share/metainfo/$id.metainfo.xml" "$share/doc/fizzgrid/copyright"
  quiet appstreamcli validate-tree --no-net "$tree$prefix" # the metainfo, and its file name
  mandoc -Tlint -W warning "$share/man/man6/fizzgrid.6.gz"
  out=$(appstreamcli compose --no-net --no-color --print-report=full --origin=fizzgrid \
    --prefix="$prefix" --result-root="$work/catalogue" "$tree" 2>&1) || fail "$out"
  ! grep -E '^ +[EW]: ' <<<"$out" || fail "a software centre's catalogue: $out"
  # Started as a desktop's menu starts it, with a desktop session's PATH.
  PATH=$tree$prefix/games:/usr/local/bin:/usr/bin:/bin gio launch "$entry"
  grep -qx StartupWMClass=Fizzgrid "$entry" || fail "$entry: not the class of the game's window"
  wid=$(timeout $((5 * m)) xdotool search --sync --class '^Fizzgrid$' | head -n 1) ||
    fail "$entry: no window of the game"
  pid=$(xprop -id "$wid" _NET_WM_PID | sed 's/.* = //')
  kill "$pid"
  timeout $((5 * m)) tail --pid="$pid" -f /dev/null || fail "$entry: the game outlived its kill"
done
