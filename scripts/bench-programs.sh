#!/usr/bin/env bash
# Prints the folder that holds the benchmark programs (fizzgrid_bench_gl, which also draws the
# README's pictures, and fizzgrid_bench_cpu). Builds them first in build-bench/, after installing
# what is missing, unless FIZZGRID_BUILD names a build tree that already holds them (the tests').
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FIZZGRID_BUILD:-}
if [ -z "$build" ]; then
  build=$root/build-bench
  source "$root/scripts/packages.sh"
  bash "$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}" >&2
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DFIZZGRID_BENCH=ON \
    >/dev/null
  cmake --build "$build" -j "$(nproc)" --target fizzgrid_bench_gl fizzgrid_bench_cpu >&2
fi
echo "$build/bench"
