#!/usr/bin/env bash
# The README's play command, briefly, in the X server of with-xvfb.sh: it builds the game and starts
# it; the window shows, and q ends it. FIZZGRID_TIMEOUT_MULTIPLIER scales every wait.
m=${FIZZGRID_TIMEOUT_MULTIPLIER:-1}
bash "$(dirname "$0")/../../scripts/play.sh" >/dev/null & game=$! # play.sh becomes the game
trap 'kill $game 2>/dev/null' EXIT
for ((try = 0; try < 1000 * m; try++)); do # a build, then the window: 100 s
  xdotool search --onlyvisible --pid $game >/dev/null && break
  kill -0 $game 2>/dev/null || { echo "FAIL: the play command ended with no window"; exit 1; }
  sleep .1
done
xdotool mousemove 100 100 key q # keys go to the window under the pointer
timeout $((5 * m)) tail --pid=$game -f /dev/null || { echo "FAIL: q did not end the game"; exit 1; }
wait $game
