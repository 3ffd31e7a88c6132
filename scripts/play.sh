#!/usr/bin/env bash
# Builds the game (installing what is missing) and starts it. Extra arguments go to the toolkit,
# for example: scripts/play.sh -display :1
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build" --target fizzgrid -j "$(nproc)"
exec "$root/build/fizzgrid" "$@"
