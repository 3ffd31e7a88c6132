#!/usr/bin/env bash
# End to end: the real game in an Xvfb of its own, driven by real key events (xdotool, XTEST), its
# window compared with the README's screenshots (ImageMagick). The window's title, size and place;
# the first frame; a game won by each player, with Space between; a resize; q. Usage: play.sh GAME
game=$1 shots=$(dirname "$0")/../../docs/screenshots tmp=$(mktemp -d) gpid= xpid=
trap 'kill $gpid $xpid 2>/dev/null; wait; rm -rf "$tmp"' EXIT
trap 'exit 1' INT TERM
fail() { echo "FAIL: $*" >&2; exit 1; }
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 3>"$tmp/d" &>/dev/null & xpid=$!
for _ in {1..50}; do [ -s "$tmp/d" ] && break; sleep .1; done
export DISPLAY=:$(cat "$tmp/d")
"$game" & gpid=$!
wid=$(timeout 5 xdotool search --sync --onlyvisible --name '^Fizzgrid -- Quillon Final Project$')
[ -n "$wid" ] || fail "no window with the game's title"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$X,$Y ${WIDTH}x$HEIGHT" = "0,0 600x600" ] || fail "window at $X,$Y ${WIDTH}x$HEIGHT"
xdotool mousemove 100 100 # keys go to the window under the pointer

# waitfor WHAT TEST: captures the window to $tmp/now.png until TEST holds of it, for 5 s at most.
waitfor() {
  local end=$((SECONDS + 5))
  until import -window "$wid" "$tmp/now.png" && eval "$2"; do
    ((SECONDS < end)) || fail "the window never showed $1"
    sleep .1
  done
}
same() { [ "$(compare -metric AE "$tmp/now.png" "$shots/$1.png" null: 2>&1)" = 0 ]; }
waitfor "the starting board" "same start"
xdotool key Left Left Left Left Down Down Down Down Return Right Return Left Return
waitfor "player 1's win" "same player1-wins" # 1 on (0,0), 2 on (1,0), 1 on (0,0) bursts and takes 2's only cell
xdotool key space
waitfor "the starting board" "same start"
xdotool key Left Left Left Left Down Down Down Return Down Return Up Return Down Return
waitfor "player 2's win" "same player2-wins" # 1 on (0,1), 2 on (0,0), 1 on (0,1), 2 on (0,0) bursts and takes (0,1)
xdotool key space windowsize "$wid" 300 600 # the square frustum stretched over the window
waitfor "the board stretched" '[ "$(convert "$tmp/now.png" -format %@ info:)" = 250x502+25+49 ]'
xdotool key q
for _ in {1..50}; do kill -0 "$gpid" 2>/dev/null || break; sleep .1; done
kill -0 "$gpid" 2>/dev/null && fail "q did not end the game"
wait "$gpid" || fail "q ended the game with status $?"
gpid=
