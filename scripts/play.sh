#!/usr/bin/env bash
# Builds the game (installing what is missing) and starts it. Extra arguments go to the toolkit,
# for example: scripts/play.sh -display :1. It builds in build/, or in the folder that
# FIZZGRID_BUILD names (the tests run it so, in a folder of their own build tree).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FIZZGRID_BUILD:-$root/build}
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target fizzgrid -j "$(nproc)"
exec "$build/fizzgrid" "$@"
