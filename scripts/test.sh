#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test, in three stages:
#  1. rules, call streams, and end-to-end tests against the real game in an X server the tests
#     start themselves (build-tests/);
#  2. the rule and call-stream tests again, built with AddressSanitizer and
#     UndefinedBehaviorSanitizer (any report fails), plus one start-play-quit of the sanitized
#     game under Xvfb with leak checking on (build-tests-asan/);
#  3. the libFuzzer target: its seed corpus replayed, then FUZZ_SECONDS (default 30) of fuzzing
#     from a scratch copy of that corpus (build-tests-fuzz/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" \
  "${SANITIZER_PACKAGES[@]}"
jobs=$(nproc)

# Every ctest run goes through here so the closing line can sum them up.
testLog=$(mktemp)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch" "$testLog"' EXIT
runTests() { ctest "$@" 2>&1 | tee -a "$testLog"; }

stage() {
  echo "== $1"
  stageStart=$SECONDS
}
stageDone() { echo "== $1: passed in $((SECONDS - stageStart)) s"; }

stage "tests"
build="$root/build-tests"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build "$build" -j "$jobs"
runTests --test-dir "$build" --output-on-failure -j "$jobs"
stageDone "tests"

# clang, because its sanitizer runtime is linked into the program: the game's smoke test preloads
# a library of its own, which a shared runtime (g++) would insist on preceding.
stage "sanitizers"
asan="$root/build-tests-asan"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$root" -B "$asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build "$asan" -j "$jobs" --target unit_and_callstream_tests sanitized_game_test
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  runTests --test-dir "$asan" --output-on-failure -j "$jobs" -L 'unit|callstream|sanitized_game'
stageDone "sanitizers"

stage "fuzz"
fuzz="$root/build-tests-fuzz"
cmake -S "$root" -B "$fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DFIZZGRID_FUZZ=ON >/dev/null
cmake --build "$fuzz" -j "$jobs" --target fuzz_game
runTests --test-dir "$fuzz" --output-on-failure -L fuzz
# libFuzzer adds what it finds to the first corpus folder: that is a scratch copy, never the
# committed corpus. A failing input is kept in the build directory for replaying.
cp -r "$root/tests/fuzz/corpus" "$scratch/corpus"
seeds=$(ls "$scratch/corpus" | wc -l)
artifacts="$fuzz/fuzz-failures"
rm -rf "$artifacts" && mkdir -p "$artifacts"
if ! "$fuzz/tests/fuzz/fuzz_game" -max_total_time="${FUZZ_SECONDS:-30}" -max_len=512 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$scratch/corpus" >"$scratch/log" 2>&1; then
  tail -n 60 "$scratch/log"
  echo "fuzz: FAILED (a crash, a sanitizer report or a broken invariant; log above)." \
    "Replay with: $fuzz/tests/fuzz/fuzz_game $artifacts/<file>"
  exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/log")
echo "fuzz: $runs inputs run in ${FUZZ_SECONDS:-30} s from $seeds seeds," \
  "corpus now $(ls "$scratch/corpus" | wc -l) inputs; no crash, report or broken invariant"
stageDone "fuzz"

ran=$(awk '/tests failed out of/ { total += $NF } END { print total + 0 }' "$testLog")
echo "tests: $ran passed, 0 failed"
