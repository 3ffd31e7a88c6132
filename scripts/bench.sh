#!/usr/bin/env bash
# Benchmarks the game's frames scene by scene and prints one table: the frame time with Mesa (in an
# X server of its own), the game's own CPU time per frame (the same frames against a GL that does
# no work), the share, own time over frame time, the frame time in headless Chromium (software
# WebGL) through the page's back-end, and the page's own CPU time in that frame (display() until
# the back-end's WebGL calls return, no wait for the GPU), with the page's size. Fails unless
# every figure it prints is a positive number, the page's time included. Where Chromium cannot
# start, it prints the table without the browser's two columns, after a line that says they are
# missing and why (bench-web.py's reason). The programs are built as bench-programs.sh says, the
# pages in build-bench/web/ (the tests' in FIZZGRID_BUILD/web/).
#
# Knobs (environment): MIN_TIME (default 0.2) seconds that each run of a scene lasts at least;
# REPETITIONS (default 5) runs of each scene, of which the table shows the median.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(bash "$root/scripts/bench-programs.sh")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() { # NAME [COMMAND...]: runs fizzgrid_bench_NAME (through COMMAND), its figures to NAME.csv
  "${@:2}" "$bin/fizzgrid_bench_$1" --benchmark_min_time="${MIN_TIME:-0.2}" \
    --benchmark_repetitions="${REPETITIONS:-5}" --benchmark_report_aggregates_only=true \
    --benchmark_out="$work/$1.csv" --benchmark_out_format=csv >"$work/$1.log" 2>&1 ||
    { cat "$work/$1.log"; exit 1; }
}
run gl bash "$root/scripts/with-xvfb.sh"
run cpu
web=${FIZZGRID_BUILD:-$root/build-bench}/web
if [ -z "${FIZZGRID_BUILD:-}" ]; then
  source "$root/scripts/packages.sh"
  bash "$root/scripts/install-deps.sh" "${BROWSER_PACKAGES[@]}" >&2
  bash "$root/scripts/web.sh" "$web" fizzgrid_bench >&2
fi
status=0 missing=
"$root/scripts/bench-web.py" "$web/fizzgrid_bench.html" >"$work/web.txt" || status=$?
case $status in
  0) ;;
  77) # it has said why Chromium cannot start
    why=$(paste -sd ' ' "$work/web.txt")
    missing="The browser's columns (Chromium, page CPU) are missing: ${why:-no reason given}"
    : >"$work/web.txt" ;;
  *) cat "$work/web.txt"; exit 1 ;;
esac

echo "Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores, $(uname -m)"
sed -n 's/^# renderer: /Renderer: /p; s/^# version: /GL version: /p' "$work/gl.log"
sed -n 's/^# browser: /Browser: /p' "$work/web.txt"
echo "Page: $(stat -c %s "$web/fizzgrid.html") bytes"
echo "Each figure: the median of ${REPETITIONS:-5} run(s), each of at least ${MIN_TIME:-0.2} s"
[ -z "$missing" ] || echo "$missing"
echo
# Rows "gl/SCENE" or "gl/SCENE_median", and the like for cpu; times in µs.
awk -F, -v web=$((status == 0)) '
  FNR == 1 { program = FILENAME ~ /gl\.csv$/ ? "gl" : FILENAME ~ /cpu\.csv$/ ? "cpu" : "web" }
  program == "web" {
    split($0, f, " ")
    if (f[1] != "#") { browser[f[1]] = f[2]; page[f[1]] = f[3] }
    next
  }
  $1 !~ /^"(gl|cpu)\// || $1 ~ /_(mean|stddev|cv)"$/ { next }
  {
    name = $1; gsub(/"|_median/, "", name); sub(/^[a-z]+\//, "", name)
    if (program == "gl") { order[++scenes] = name; frame[name] = $3 } else own[name] = $4
  }
  function positive(v) { return v ~ /^[0-9.e+-]+$/ && v + 0 > 0 }
  END {
    print "scene          frame (ms)  own CPU (µs)     share" \
      (web ? "  Chromium (ms)  page CPU (ms)" : "")
    for (i = 1; i <= scenes; i++) {
      s = order[i]
      if (positive(frame[s]) && positive(own[s]) &&
          (!web || (positive(browser[s]) && positive(page[s])))) {
        printf "%-14s %10.3f %13.2f %8.2f%%", s, frame[s] / 1000, own[s], 100 * own[s] / frame[s]
        print web ? sprintf(" %14.3f %14.3f", browser[s], page[s]) : ""
      } else {
        printf "%s: not a positive figure (frame %s µs, own CPU %s µs, Chromium %s ms, " \
          "page %s ms)\n", s, frame[s], own[s], browser[s], page[s]
        bad = 1
      }
    }
    exit bad || scenes == 0
  }' "$work/gl.csv" "$work/cpu.csv" "$work/web.txt"
"$root/scripts/bench-pace.py" "$web/fizzgrid.html" # the page's pace: waves, and the CPU at rest
