#!/usr/bin/env bash
# End to end: the real game in an Xvfb of its own, real keys (xdotool, XTEST), and its window
# compared with the README's screenshots (ImageMagick). Usage: play.sh GAME
game=$1 shots=$(dirname "$0")/../../docs/screenshots tmp=$(mktemp -d) gpid= xpid=
trap 'kill $gpid $xpid 2>/dev/null; wait; rm -rf "$tmp"' EXIT
trap 'exit 1' INT TERM
fail() { echo "FAIL: $*" >&2; exit 1; }
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 3>"$tmp/d" &>/dev/null & xpid=$!
for _ in {1..50}; do [ -s "$tmp/d" ] && break; sleep .1; done
export DISPLAY=:$(cat "$tmp/d")
"$game" & gpid=$!
wid=$(timeout 5 xdotool search --sync --onlyvisible --name . | head -n 1)
[ "$(xdotool getwindowname "$wid")" = "Fizzgrid -- Quillon Final Project" ] || fail "title"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$X,$Y ${WIDTH}x$HEIGHT" = "0,0 600x600" ] || fail "window at $X,$Y ${WIDTH}x$HEIGHT"
visual=$(xwininfo -id "$wid" | awk '/Visual:/ { print $2 }') # double-buffered, with depth
glxinfo -t | awk -v v="$visual" '$1 == v && $8 && $17 { ok = 1 } END { exit !ok }' || fail "$visual"
xdotool mousemove 100 100 # keys go to the window under the pointer

waitfor() { # WHAT TEST: captures the window to $tmp/now.png until TEST holds of it, 50 tries
  for _ in {1..50}; do import -window "$wid" "$tmp/now.png" && eval "$2" && return; sleep .1; done
  fail "the window never showed $1"
}
same() { [ "$(compare -metric AE "$tmp/now.png" "$shots/$1.png" null: 2>&1)" = 0 ]; }
waitfor "the starting board" "same start"
# 1 on (0,0) (an arrow too many at each edge), 2 on (1,0), 1 refused there, 1 on (0,0): 1 wins.
xdotool key Left Left Left Left Left Down Down Down Down Down Return Right Return Return Left Return
waitfor "player 1's win" "same player1-wins"
xdotool key space
waitfor "the starting board" "same start"
# 1 on (0,1), 2 on (0,0), 1 on (0,1), 2 on (0,0): it bursts and takes 1's only cell: 2 wins.
xdotool key Left Left Left Left Down Down Down Return Down Return Up Return Down Return
waitfor "player 2's win" "same player2-wins"
xdotool key space windowsize "$wid" 300 600 # the square frustum stretched over the window
waitfor "the board stretched" '[ "$(convert "$tmp/now.png" -format %@ info:)" = 250x502+25+49 ]'
xdotool key q
timeout 5 tail --pid="$gpid" -f /dev/null || fail "q did not end the game"
wait "$gpid" || fail "q ended the game with status $?"
