#!/usr/bin/env bash
# Usage: with-xvfb.sh play.sh GAME. The game under a stand-in window manager (wm.py), played by real
# keys (xdotool, XTEST) and compared with the README's pictures. FIZZGRID_TIMEOUT_MULTIPLIER scales.
game=$1 here=$(dirname "$0") tmp=$(mktemp -d) gpid= m=${FIZZGRID_TIMEOUT_MULTIPLIER:-1}
shots=$here/../../docs/screenshots
trap 'kill $gpid 2>/dev/null; wait; rm -rf "$tmp"' EXIT
trap 'exit 1' INT TERM
fail() { echo "FAIL: $*" >&2; exit 1; }
{ gpid=$! && read -r wid visual size || fail "at the window's MapRequest"; } < <(
  exec "$here/wm.py" "$tmp/icon.pam" "$game") # what docks know it by, checked at its MapRequest
bash "$here/../../scripts/icon.sh" "$tmp/art.rgba" >/dev/null # the artwork, drawn afresh
convert -size "$size" -depth 8 rgba:"$tmp/art.rgba" "$tmp/art.png" # the size the game declares
bash "$here/same-picture.sh" "$tmp/icon.pam" "$tmp/art.png" 16 || fail "icon" # 16: any SVG renderer
glxinfo -t | awk -v v="$visual" '$1 == v && $8 && $17 { ok = 1 } END { exit !ok }' ||
  fail "visual $visual: not double-buffered with depth"
xdotool mousemove 100 100 # keys go to the window under the pointer

waitfor() { # WHAT COMMAND...: captures the window to $tmp/now.png until COMMAND passes, for 5 s
  for ((try = 0; try < 50 * m; try++)); do
    import -window "$wid" "$tmp/now.png" && "${@:2}" >"$tmp/why" && return
    sleep .1
  done
  fail "the window never showed $1. $(cat "$tmp/why" 2>/dev/null)"
}
trimmed() { [ "$(convert "$tmp/now.png" -format %@ info:)" = "$1" ]; } # the box of what is drawn
while read -r step picture what <&3; do # tests/games.txt's steps, on 3: not the tools' input
  case $step in
    show) waitfor "$what" bash "$here/same-picture.sh" "$tmp/now.png" "$shots/$picture.png" ;;
    keys) xdotool key --delay 1 $picture $what ;; # a move's keys, X's names
  esac
done 3< <("$here/../games.py")
xdotool windowsize "$wid" 300 600 # the square frustum stretched over the window
waitfor "the board stretched" trimmed 257x502+25+49
xdotool key q
timeout $((5 * m)) tail --pid="$gpid" -f /dev/null || fail "q did not end the game"
wait "$gpid" || fail "q ended the game with status $?"
