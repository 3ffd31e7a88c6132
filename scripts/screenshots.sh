#!/usr/bin/env bash
# Draws the README's pictures into DIR (default docs/screenshots/): progress.png, start.png,
# cursor.png, wave.png, player1-wins.png and player2-wins.png, each one frame that the game's own
# display() draws in the game's own window, in an X server of its own, read back by the GL
# benchmark program (built as bench-programs.sh says); and phone.png, the game's page on a phone in
# headless Chromium (phone-picture.py), the page built by web.sh in FIZZGRID_BUILD/web, or in its
# own default folder. Usage: screenshots.sh [DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshots}
bin=$(bash "$root/scripts/bench-programs.sh")
mkdir -p "$out"
for shot in progress start cursor wave player1-wins player2-wins; do
  bash "$root/scripts/with-xvfb.sh" "$bin/fizzgrid_bench_gl" --png "$out/$shot.png" "$shot"
  echo "$out/$shot.png"
done
web=${FIZZGRID_BUILD:+$FIZZGRID_BUILD/web}
bash "$root/scripts/web.sh" $web >&2
"$root/scripts/phone-picture.py" "${web:-$root/build-web}/fizzgrid.html" "$out/phone.png"
echo "$out/phone.png"
