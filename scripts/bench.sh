#!/usr/bin/env bash
# Benchmarks the game and prints a table of medians: each scene's frame time with the real Mesa
# under a private Xvfb against the floor, the same frames' GL calls traced by apitrace and replayed
# without the game; and the game's own CPU share, measured with the recording double in place of
# GL. Installs what it lacks, builds in build-bench/, cleans up after itself. Not part of CI.
#
# Knobs (environment): PAIRS (default 15) game/replay pairs per scene; MIN_TIME (default 0.3)
# seconds of game frames per pair; REPETITIONS (default 15, at least 2) runs of the CPU benchmark.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build-bench/bench"
scenes="start loaded wave winner build3 build15 build100"
pairs=${PAIRS:-15}
min_time=${MIN_TIME:-0.3}
repetitions=${REPETITIONS:-15}
# Google Benchmark reports no median of a single run, and the table would show zeros.
[ "$repetitions" -ge 2 ] || { echo "REPETITIONS must be at least 2" >&2; exit 2; }

median() {
  sort -g | awk '{ v[NR] = $1 }
    END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# Seconds that `apitrace replay --benchmark` reports for a trace.
replay() {
  apitrace replay --benchmark "$1" 2>/dev/null |
    sed -n 's/^Rendered .* in \([0-9.e+-]*\) secs.*/\1/p'
}
# One run of the game's frames of a scene: ms per frame (display() and glFinish).
game() {
  "$bin/fizzgrid_bench_gl" --benchmark_filter="^gl/$1/" --benchmark_min_time="$min_time" \
    --benchmark_out="$work/game.csv" --benchmark_out_format=csv >"$work/game.log" 2>&1
  awk -F, '/^"gl/ { print $3 }' "$work/game.csv"
}

# Run inside xvfb-run: the measurements, written to WORK.
measure() {
  echo "== the game's own CPU cost (recording double, no GL)"
  "$bin/fizzgrid_bench_cpu" --benchmark_repetitions="$repetitions" \
    --benchmark_min_time="$min_time" --benchmark_report_aggregates_only=true \
    --benchmark_enable_random_interleaving=true \
    --benchmark_out="$work/cpu.csv" --benchmark_out_format=csv
  for scene in $scenes; do
    echo "== $scene: the game's frames and apitrace's replay of them, in pairs"
    # Frames enough for about 0.5 s of the game's drawing in the long trace; replays of 5 and
    # 5 + extra frames differ by the extra frames alone, start-up cancelled.
    extra=$(game "$scene" | awk '{ n = int(500 / $1); print n < 20 ? 20 : n }')
    for frames in 5 $((5 + extra)); do
      apitrace trace --api gl -o "$work/$frames.trace" \
        "$bin/fizzgrid_bench_gl" --draw "$scene" "$frames" >/dev/null 2>&1
    done
    # The replayed frame must be the game's, pixel for pixel.
    "$bin/fizzgrid_bench_gl" --png "$work/game.png" "$scene"
    apitrace replay -s "$work/snap." "$work/5.trace" >/dev/null 2>&1
    snapshot=$(ls "$work"/snap.* | tail -n1)
    echo "$scene $(compare -metric AE "$work/game.png" "$snapshot" null: 2>&1)" >>"$work/pixels.txt"
    rm "$work"/snap.*
    for pair in $(seq "$pairs"); do
      if [ $((pair % 2)) = 1 ]; then ms=$(game "$scene"); fi
      short=$(replay "$work/5.trace")
      long=$(replay "$work/$((5 + extra)).trace")
      if [ $((pair % 2)) = 0 ]; then ms=$(game "$scene"); fi
      floor=$(awk -v l="$long" -v s="$short" -v n="$extra" 'BEGIN { print (l - s) / n * 1000 }')
      echo "$scene $ms $floor $(awk -v g="$ms" -v f="$floor" 'BEGIN { print g / f }')" |
        tee -a "$work/pairs.txt"
    done
    rm "$work"/*.trace
  done
  sed -n 's/^# /GL /p' "$work/game.log" >"$work/renderer.txt"
  # xvfb-run ends its Xvfb without waiting for it, so its CPU time is taken here.
  awk '{ print $14 + $15 }' "/proc/$(pgrep -P "$PPID" -x Xvfb)/stat" >"$work/xvfb_ticks"
}
if [ "${1:-}" = --measure ]; then
  work=$2
  measure
  exit
fi

source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -S "$root" -B "$root/build-bench" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DFIZZGRID_BENCH=ON >"$work/configure.log" || { cat "$work/configure.log"; exit 1; }
cmake --build "$root/build-bench" -j2 --target fizzgrid_bench_gl fizzgrid_bench_cpu

# Load from others while we measure: all busy CPU time less ours (our children's, and Xvfb's), in
# cores on average. The load average alone would count the benchmark's own threads.
cpu_ticks() { # busy and total jiffies of the machine, then ours
  awk 'NR == 1 { for (i = 2; i <= NF; i++) total += $i; print total - $5 - $6, total }' /proc/stat
  awk '{ print $16 + $17 }' /proc/$$/stat
}
ticks_before=$(cpu_ticks | xargs)
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# A server of our own on a free display; a black root window, so only the game lights pixels.
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset -br" bash "$0" --measure "$work"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
others=$(echo "$ticks_before $(cpu_ticks | xargs) $(cat "$work/xvfb_ticks") $(nproc)" | awk '{
  busy = $4 - $1; total = $5 - $2; ours = $6 - $3 + $7
  cores = total > 0 ? (busy - ours) / total * $8 : 0
  printf "%.2f", (cores > 0 ? cores : 0) }')

echo
echo "Machine: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1), $(nproc) cores"
cat "$work/renderer.txt"
echo "Load average (1, 5, 15 min): $load_before before, $load_after after (ours included)"
echo "Other processes kept $others of $(nproc) cores busy on average while we measured"
echo "Pixels of the replayed frame that differ from the game's:" \
  "$(awk '{ printf "%s%s %s", (NR > 1 ? ", " : ""), $1, $2 }' "$work/pixels.txt")"
echo "Times in ms per frame, medians of $pairs pairs (game: runs of at least $min_time s; floor:"
echo "apitrace replay, long trace less short); game/floor is the median of the pairs' ratios, its"
echo "spread the interquartile range. Own CPU: median of $repetitions runs with the double."
echo
for scene in $scenes; do
  for column in 2 3 4; do
    awk -v s="$scene" -v c="$column" '$1 == s { print $c }' "$work/pairs.txt" | median
  done | xargs echo "$scene"
  awk -v s="$scene" '$1 == s { print $4 }' "$work/pairs.txt" | sort -g |
    awk -v s="$scene" '{ v[NR] = $1 } END { print s, v[int(NR / 4) + 1], v[int(3 * NR / 4) + 1] }'
done >"$work/medians.txt"
awk -F, -v medians="$work/medians.txt" '
  BEGIN {
    while ((getline line < medians) > 0) {
      n = split(line, f, " ")
      if (n == 4) { game[f[1]] = f[2]; floor[f[1]] = f[3]; ratio[f[1]] = f[4] }
      else { q1[f[1]] = f[2]; q3[f[1]] = f[3] }
    }
    split("start loaded wave winner build3 build15 build100", order, " ")
  }
  /^name,/ { for (i = 1; i <= NF; i++) { c = $i; gsub(/"/, "", c); column[c] = i } }
  /_median"/ {
    name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
    split(name, part, "/"); scene = part[2]
    own[scene] = $column["cpu_time"] / 1000; calls[scene] = $column["calls"] # ms
  }
  END {
    perCall = own["double_1000_calls"] / 1000 # ms that the double spends on one call
    printf "%-9s %8s %8s %8s %7s %13s %9s %7s\n", "scene", "GL calls", "game", "floor",
           "game/", "ratio", "own CPU", "own/"
    printf "%-9s %8s %8s %8s %7s %13s %9s %7s\n", "", "/frame", "", "(replay)", "floor",
           "IQR", "(double)", "game"
    for (i = 1; i <= 7; i++) {
      s = order[i]; g = game[s]; r = ratio[s]; o = own[s]
      printf "%-9s %8d %8.3f %8.3f %7.3f %6.3f-%6.3f %9.4f %6.2f%%\n", s, calls[s], g, floor[s], r,
             q1[s], q3[s], o, 100 * o / g
      if (g > heaviest) { heaviest = g; heaviestScene = s }
      if (s !~ /^build/ && g > heaviestSteady) { heaviestSteady = g; steadyScene = s }
      if (r > worst) { worst = r; worstScene = s }
    }
    printf "\nWorst game/floor: %.3f (%s); target at most 1.05.\n", worst, worstScene
    printf "Heaviest frame: %s, %.3f ms; own CPU %.2f%% of it; target below 2%%.\n",
           heaviestScene, heaviest, 100 * own[heaviestScene] / heaviest
    printf "  (one call into the double costs %.2f ns alone in a tight loop: %.3f ms of it)\n",
           perCall * 1e6, calls[heaviestScene] * perCall
    printf "Heaviest frame after start-up: %s, %.3f ms; own CPU %.2f%% of it.\n",
           steadyScene, heaviestSteady, 100 * own[steadyScene] / heaviestSteady
  }
' "$work/cpu.csv"
