#!/usr/bin/env bash
# Benchmarks the game and prints a table of medians: each scene's frame time with the real Mesa
# under a private Xvfb, the floor set by replaying the same frame's GL calls without the game, the
# game's own CPU share measured with the recording double, and the time from launch to the first
# frame. Installs what it lacks, builds in build-bench/, cleans up after itself. Not part of CI.
#
# Knobs (environment): REPETITIONS (default 15) timed runs per benchmark, each of at least
# MIN_TIME seconds (default 0.3); LAUNCHES (default 15) launches of the game; TRACE=0 skips the
# cross-check with apitrace.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

repetitions=${REPETITIONS:-15}
min_time=${MIN_TIME:-0.3}
launches=${LAUNCHES:-15}
trace=${TRACE:-1}
build="$root/build-bench"
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DFIZZGRID_BENCH=ON \
  >"$work/configure.log" || { cat "$work/configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)" \
  --target fizzgrid fizzgrid_bench_gl fizzgrid_bench_cpu fizzgrid_launch_time
bin="$build/bench"

# A server of our own on a free display; a black root window, so only the game lights pixels.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset -br \
  3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# Load from others while we measure: all busy CPU time less ours (children waited for, and Xvfb),
# in cores on average. The load average alone would count the benchmark's own threads.
cpu_ticks() { # busy and total jiffies of the machine, then ours
  awk 'NR == 1 { for (i = 2; i <= NF; i++) total += $i; print total - $5 - $6, total }' /proc/stat
  awk '{ print $16 + $17 }' /proc/$$/stat
  awk '{ print $14 + $15 }' "/proc/$xvfb_pid/stat"
}
ticks_before=$(cpu_ticks | xargs)
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
flags=(--benchmark_repetitions="$repetitions" --benchmark_min_time="$min_time"
  --benchmark_report_aggregates_only=true --benchmark_enable_random_interleaving=true
  --benchmark_out_format=csv)
mkdir "$work/streams"
echo "== the game's own CPU cost (recording double, no GL)"
"$bin/fizzgrid_bench_cpu" --streams "$work/streams" "${flags[@]}" --benchmark_out="$work/cpu.csv"
echo "== frames with real GL: the game and the replay of its calls, in pairs"
"$bin/fizzgrid_bench_gl" --streams "$work/streams" "${flags[@]}" --benchmark_out="$work/gl.csv" |
  tee "$work/gl.log"

# Cross-check of the floor with an independent replayer: trace 5 and 35 frames of each scene and
# replay both traces; the difference of the totals over 30 frames is one frame, start-up excluded.
# Only a cross-check: a failure here leaves its column empty and stops nothing.
: >"$work/trace.txt"
if [ "$trace" = 1 ]; then
  echo "== apitrace replay --benchmark"
  for calls in "$work"/streams/*.calls; do
    scene=$(basename "$calls" .calls)
    for frames in 5 35; do
      apitrace trace --api gl -o "$work/$scene.$frames.trace" \
        "$bin/fizzgrid_bench_gl" --draw "$scene" "$frames" >/dev/null 2>&1 ||
        echo "apitrace could not trace $scene" >&2
    done
    for _ in 1 2 3 4 5; do
      for frames in 5 35; do
        { apitrace replay --benchmark "$work/$scene.$frames.trace" 2>/dev/null || true; } |
          sed -n "s/^Rendered .* in \([0-9.e+-]*\) secs.*/$frames \1/p"
      done
    done >"$work/$scene.replays"
    awk -v scene="$scene" '
      function median(list, n,   i, j, t) {
        for (i = 2; i <= n; i++) for (j = i; j > 1 && list[j-1] > list[j]; j--) {
          t = list[j]; list[j] = list[j-1]; list[j-1] = t }
        return n % 2 ? list[(n+1)/2] : (list[n/2] + list[n/2+1]) / 2 }
      $1 == 5 { short[++s] = $2 } $1 == 35 { long[++l] = $2 }
      END { if (s && l) printf "%s %.3f\n", scene, (median(long, l) - median(short, s)) / 30 * 1e3 }
    ' "$work/$scene.replays" | tee -a "$work/trace.txt"
    rm -f "$work/$scene".*.trace
  done
fi

echo "== launch to first frame"
"$bin/fizzgrid_launch_time" "$build/fizzgrid" "$launches" | tee "$work/launch.txt"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
others=$(echo "$ticks_before $(cpu_ticks | xargs) $(nproc)" | awk '{
  busy = $5 - $1; total = $6 - $2; ours = $7 - $3 + $8 - $4
  cores = total > 0 ? (busy - ours) / total * $9 : 0
  printf "%.2f", (cores > 0 ? cores : 0) }')

echo
echo "Machine: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1), $(nproc) cores"
sed -n 's/^# /GL /p' "$work/gl.log"
echo "Load average (1, 5, 15 min): $load_before before, $load_after after (ours included)"
echo "Other processes kept $others of $(nproc) cores busy on average while we measured"
echo "Medians of $repetitions runs of at least $min_time s each; times in ms per frame; game/floor is"
echo "the median ratio of game and replay frames drawn in pairs, its cv the spread over the runs."
echo
awk -F, -v tracefile="$work/trace.txt" '
  BEGIN {
    while ((getline line < tracefile) > 0) { split(line, f, " "); traced[f[1]] = f[2] }
    split("start loaded wave winner build3 build15 build100", order, " ")
  }
  /^name,/ { delete column; for (i = 1; i <= NF; i++) { c = $i; gsub(/"/, "", c); column[c] = i } }
  /^"/ {
    name = $1; gsub(/"/, "", name)
    split(name, part, "/"); kind = part[1]; scene = part[2]; stat = part[3]
    sub(/^real_time_/, "", stat)
    if (kind == "gl") {
      game[scene, stat] = $column["game_ms"]; floor[scene, stat] = $column["floor_ms"]
      ratio[scene, stat] = $column["ratio"]
    } else {
      own[scene, stat] = $column["real_time"] / 1000 # us
      if (stat == "median") calls[scene] = $column["calls"]
    }
  }
  END {
    perCall = own["double_1000_calls", "median"] / 1000 # ms that the double spends on one call
    printf "%-9s %8s %9s %9s %7s %6s %9s %9s %7s\n", "scene", "GL calls", "game", "floor",
           "game/", "ratio", "apitrace", "own CPU", "own/"
    printf "%-9s %8s %9s %9s %7s %6s %9s %9s %7s\n", "", "/frame", "(real GL)", "(replay)",
           "floor", "cv %", "replay", "(double)", "game"
    for (i = 1; i <= 7; i++) {
      s = order[i]; g = game[s, "median"]; r = ratio[s, "median"]; o = own[s, "median"]
      printf "%-9s %8d %9.3f %9.3f %7.3f %6.1f %9s %9.4f %6.2f%%\n", s, calls[s], g,
             floor[s, "median"], r, 100 * ratio[s, "stddev"] / ratio[s, "mean"],
             (s in traced) ? sprintf("%.3f", traced[s]) : "-", o, 100 * o / g
      if (g > heaviest) { heaviest = g; heaviestScene = s }
      if (s !~ /^build/ && g > heaviestSteady) { heaviestSteady = g; steadyScene = s }
      if (r > worst) { worst = r; worstScene = s }
    }
    printf "\nWorst game/floor: %.3f (%s); target at most 1.05.\n", worst, worstScene
    printf "Heaviest frame: %s, %.3f ms; own CPU %.2f%% of it; target below 2%%.\n",
           heaviestScene, heaviest, 100 * own[heaviestScene, "median"] / heaviest
    printf "  (one call into the double costs %.2f ns alone in a tight loop: up to %.3f ms of it)\n",
           perCall * 1e6, calls[heaviestScene] * perCall
    printf "Heaviest frame after start-up: %s, %.3f ms; own CPU %.2f%% of it.\n",
           steadyScene, heaviestSteady, 100 * own[steadyScene, "median"] / heaviestSteady
  }
' "$work/gl.csv" "$work/cpu.csv"
sed -n 's/^median map_ms /Launch to window mapped (median, ms): /p;
        s/^median frame_ms /Launch to first frame shown (median, ms): /p' "$work/launch.txt"
