#!/usr/bin/env bash
# Takes the README's screenshots from the real game in a private Xvfb and writes them to
# docs/screenshots/: start.png (the starting board), wave.png (a wave of bursts), player1-wins.png
# and player2-wins.png. Installs what it lacks and builds the game and the screenshot tool in
# build-screenshots/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" zlib1g-dev

build="$root/build-screenshots"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DFIZZGRID_TOOLS=ON \
  >/dev/null
cmake --build "$build" -j "$(nproc)" --target fizzgrid_screenshots
mkdir -p "$root/docs/screenshots"
"$build/tools/fizzgrid_screenshots" "$root/docs/screenshots"
