#!/usr/bin/env bash
# End-to-end test of the real game in an Xvfb of its own: real key events (XTEST, xdotool) and the
# window's pixels read back (ImageMagick). Usage: play.sh FIZZGRID [QUIT-KEY]
# Without QUIT-KEY: window, first frame, a game to each winner, a resize, then q. With it: that key
# on the first frame must end the game with status 0.
game=$1 tmp=$(mktemp -d) gpid= xpid=
trap 'kill $gpid $xpid 2>/dev/null; wait; rm -rf "$tmp"' EXIT
trap 'exit 1' INT TERM
fail() { echo "FAIL: $*" >&2; exit 1; }
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 3>"$tmp/d" &>/dev/null & xpid=$!
for _ in {1..50}; do [ -s "$tmp/d" ] && break; sleep .1; done
export DISPLAY=:$(cat "$tmp/d")
"$game" & gpid=$!
wid=$(timeout 5 xdotool search --sync --onlyvisible --name . | head -1)
[ -n "$wid" ] || fail "no window"
title=$(xdotool getwindowname "$wid")
[ "$title" = "Fizzgrid -- Quillon Final Project" ] || fail "title '$title'"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$X,$Y ${WIDTH}x$HEIGHT" = "0,0 600x600" ] || fail "window at $X,$Y ${WIDTH}x$HEIGHT"
xdotool mousemove 100 100 # keys go to the window under the pointer

# seen="MAP BOX": MAP classes the pixel amid each tile of a 600x600 frame, top row first
# (R reddish, B bluish, G greenish, - grey, . black, ? other); BOX is WxH+X+Y around what is not
# black, in a copy of the frame with a 1 px black border.
look() {
  import -window "$wid" "$tmp/now.ppm" || return
  seen="$(convert "$tmp/now.ppm" -crop 466x466+67+67 +repage -sample 8x8 -depth 8 rgb:- |
    od -An -v -tu1 -w3 | awk '{ c = $2 > 120 ? "-" : $2 < 30 ? "." : "?"; if ($2 > $1 + 20) c = "G"
      if ($3 > $1 + 40) c = "B"; if ($1 > $3 + 40) c = "R"; printf "%s%s", c, NR % 8 ? "" : " " }')"
  seen+=$(convert "$tmp/now.ppm" -bordercolor black -border 1 -format %@ info:)
}
# is PATTERN [W H X Y]: the map matches the glob PATTERN and the box is within 3 px of W H X Y.
is() {
  [[ ${seen% *} == $1 ]] || return; shift
  IFS=x+ read -ra box <<<"${seen##* }"
  for v in "${box[@]:0:$#}"; do ((v - $1 < 4 && $1 - v < 4)) || return; shift; done
}
# waitfor COMMAND...: looks at the window until COMMAND succeeds, for at most 5 s.
waitfor() {
  local end=$((SECONDS + 5))
  until look && "$@"; do ((SECONDS < end)) || fail "5 s without: $*; saw: $seen"; sleep .1; done
}
exits0() { # exits0 KEY: the key ends the game within 5 s, with status 0
  xdotool key "$1"
  for _ in {1..50}; do kill -0 "$gpid" 2>/dev/null || break; sleep .1; done
  kill -0 "$gpid" 2>/dev/null && fail "$1 did not end the game"
  wait "$gpid"; local status=$?; gpid=
  ((status == 0)) || fail "$1 ended the game with status $status"
}

# First frame: cursor (4,4) red, the other tiles grey, black around, the board's outer edges at
# pixels 49 and 550 across and down (measured on the correct game; the box counts the border).
waitfor is "-------- -------- -------- ----R--- -------- -------- -------- --------" 502 502 50 50
cp "$tmp/now.ppm" "$tmp/first.ppm"
[ -n "$2" ] && { exits0 "$2"; exit; }
xdotool key Left Left Left Left Down Down Down Down Return Right Return Left Return
red=".RRRRRR. RRRRRRRR RRRRRRRR RRRRRRRR RRRRRRRR RRRRRRRR RRRRRRRR .RRRRRR."
waitfor is "$red" 546 546 28 28 # player 1 on (0,0), 2 on (1,0), 1 on (0,0) bursts: 1 has won
xdotool key space
waitfor cmp -s "$tmp/now.ppm" "$tmp/first.ppm"
# Player 1 on (0,1); Enter refused on it for player 2, whose cursor then shows blue on (0,0).
xdotool key Left Left Left Left Down Down Down Return Return Down
waitfor is "* * * * * * * B-------"
xdotool key Return Up Return Down Return # 2 on (0,0), 1 on (0,1), 2 on (0,0) bursts: 2 has won
waitfor is "${red//R/B}" 546 546 28 28
xdotool key space windowsize "$wid" 300 600 # the square frustum stretched to a tall viewport
waitfor is "*" 250 502 26 50
exits0 q
