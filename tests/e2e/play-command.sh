#!/usr/bin/env bash
# The README's play command, briefly, in the X server of with-xvfb.sh: it builds the game (into
# FIZZGRID_BUILD when set, build/ otherwise) and starts it; the window shows, and q ends the game
# with status 0. The window is found by its title, app/window.h's.
# FIZZGRID_TIMEOUT_MULTIPLIER scales every wait. Usage: with-xvfb.sh play-command.sh
m=${FIZZGRID_TIMEOUT_MULTIPLIER:-1} root=$(dirname "$0")/../..
title=$(sed -n 's/^#define WINDOW_TITLE "\(.*\)"$/\1/p' "$root/app/window.h")
[ -n "$title" ] || { echo "FAIL: no line '#define WINDOW_TITLE \"...\"' in app/window.h"; exit 1; }
name="^$(sed 's/[][\\.*^$()+?{}|]/\\&/g' <<<"$title")\$" # as xdotool's regular expression
bash "$root/scripts/play.sh" >/dev/null & game=$! # play.sh becomes the game
trap 'kill $game 2>/dev/null' EXIT
for ((try = 0; try < 1000 * m; try++)); do # a build, then the window: 100 s
  xdotool search --name "$name" >/dev/null && break
  kill -0 $game 2>/dev/null || { echo "FAIL: the play command ended with no window"; exit 1; }
  sleep .1
done
xdotool mousemove 100 100 key q # keys go to the window under the pointer
timeout $((5 * m)) tail --pid=$game -f /dev/null || { echo "FAIL: q did not end the game"; exit 1; }
wait $game
