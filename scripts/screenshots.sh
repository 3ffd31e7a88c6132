#!/usr/bin/env bash
# Takes the README's screenshots in a private Xvfb and writes them to docs/screenshots/: start.png
# (the starting board), wave.png (a wave of bursts), player1-wins.png and player2-wins.png. Each is
# one frame that the game's own display() draws in the game's own 600 by 600 window, read back and
# written as a PNG by the GL benchmark program. Installs what it lacks and builds in
# build-screenshots/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

build="$root/build-screenshots"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DFIZZGRID_BENCH=ON \
  >/dev/null
cmake --build "$build" -j2 --target fizzgrid_bench_gl
out="$root/docs/screenshots"
mkdir -p "$out"
# Scene names of bench/scenes.cpp, each with its file.
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset -br" bash -c '
  set -e
  for shot in start:start cascade:wave winner:player1-wins winner2:player2-wins; do
    "$0" --png "$1/${shot#*:}.png" "${shot%%:*}"
    echo "$1/${shot#*:}.png"
  done' "$build/bench/fizzgrid_bench_gl" "$out"
