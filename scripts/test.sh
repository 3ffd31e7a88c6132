#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test, in two stages:
#  1. in build-tests/: the rules, the scene through the recording double, the real game end to end
#     in an X server the tests start themselves, the game's page played in headless Chromium, a
#     short run of the benchmarks with the README's pictures drawn again, and the Debian package;
#  2. in build-tests-asan/, with clang: the rules and the scene again under AddressSanitizer and
#     UndefinedBehaviorSanitizer (any report fails), then the fuzz target: its seeds replayed and
#     FUZZ_SECONDS (default 20) of fuzzing from a scratch copy of them. Where AddressSanitizer
#     cannot start (under some emulators), this stage says so and runs with the other alone.
# FIZZGRID_TIMEOUT_MULTIPLIER (a whole number, default 1) scales every time bound of the tests, for
# slow machines and emulators. ASAN_OPTIONS is the caller's when set; leaks are checked otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" \
  "${SANITIZER_PACKAGES[@]}"
jobs=$(nproc)
multiplier=${FIZZGRID_TIMEOUT_MULTIPLIER:-1}
log=$(mktemp)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch" "$log"' EXIT
runTests() { ctest "$@" 2>&1 | tee -a "$log"; }

echo "== tests"
build="$root/build-tests"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DFIZZGRID_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs"
# The page and the browser benchmark's page, built outside ctest's time bounds (emcc is slow).
bash "$root/scripts/web.sh" "$build/web" fizzgrid_bench
runTests --test-dir "$build" --output-on-failure -j "$jobs"

echo "== sanitizers and fuzzing"
asan="$root/build-tests-asan"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=print_stacktrace=1
# AddressSanitizer reserves its heap where some emulators cannot map it (qemu-user 7.2 hangs there
# with Debian 13's clang on arm64): an empty program killed after 5 s (times the multiplier) says
# so, and the stage then keeps UndefinedBehaviorSanitizer alone.
sanitizers=address,undefined
echo 'int main() { return 0; }' | clang++ -x c++ -fsanitize=address - -o "$scratch/probe"
probe=0
timeout -s KILL $((5 * multiplier)) "$scratch/probe" || probe=$?
if [ "$probe" = 137 ]; then
  sanitizers=undefined
  echo "AddressSanitizer cannot start on this machine: UndefinedBehaviorSanitizer alone"
fi
sanitize="-fsanitize=$sanitizers -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$root" -B "$asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$sanitize" -DFIZZGRID_FUZZ=ON >/dev/null
cmake --build "$asan" -j "$jobs" --target unit_and_scene_tests fuzz_game
# The sanitizers do not intercept fortified libc calls: no compile line of this build fortifies.
! grep -rl _FORTIFY_SOURCE "$asan" --include=flags.make || { echo "fortified: FAILED"; exit 1; }
runTests --test-dir "$asan" --output-on-failure -j "$jobs" -L 'unit|scene'
# libFuzzer adds what it finds to the first corpus folder: a scratch copy, never the committed one.
cp -r "$root/tests/fuzz/corpus" "$scratch/corpus"
# An input that runs 10 s (times the multiplier) fails as a hang.
hang=$((10 * multiplier))
fuzz=(-max_total_time="${FUZZ_SECONDS:-20}" -max_len=512 -timeout="$hang" -print_final_stats=1
  -artifact_prefix="$asan/")
if ! "$asan/tests/fuzz_game" "${fuzz[@]}" "$scratch/corpus" >"$scratch/log" 2>&1; then
  tail -n 40 "$scratch/log"
  echo "fuzz: FAILED; replay with $asan/tests/fuzz_game $asan/crash-*"
  exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/log")
echo "fuzz: $runs inputs from $(ls "$root/tests/fuzz/corpus" | wc -l) seeds; no broken rule"

ran=$(awk '/tests failed out of/ { total += $NF } END { print total + 0 }' "$log")
skipped=$(grep -c '(Skipped)$' "$log" || true)
echo "tests: $((ran + 1 - skipped)) passed, 0 failed, $skipped skipped"
