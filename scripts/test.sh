#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test: rules, call streams, and
# end-to-end tests against the real game in an X server the tests start themselves.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

build="$root/build-tests"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
