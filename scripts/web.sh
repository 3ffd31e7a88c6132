#!/usr/bin/env bash
# Builds the game as one self-contained web page, BUILD/fizzgrid.html (BUILD: build-web/ in the
# project's root by default), installing what is missing, and prints its size. The page needs no
# server: open it from disk in a browser. Usage: web.sh [BUILD [TARGET...]]; each TARGET of
# web/CMakeLists.txt (fizzgrid_bench, the benchmark page) is built too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build-web}" && cd "${1:-$root/build-web}" && pwd)
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${WEB_PACKAGES[@]}"

# emcc runs its JavaScript tools with the node on PATH, which finds Debian's node modules (acorn)
# only through NODE_PATH when it is not Debian's own node.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# Debian's Emscripten comes with its system libraries built, in a cache it never writes
# (FROZEN_CACHE): any user builds with it, and the first build is as quick as the next.

# emcmake tells its command line on standard error: shown only when configuring fails.
emcmake cmake -S "$root/web" -B "$build" -DCMAKE_BUILD_TYPE=Release >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --target fizzgrid "${@:2}" -j "$(nproc)"
page="$build/fizzgrid.html"
size=$(stat -c %s "$page")
echo "$page: $size bytes ($(( (size + 1023) / 1024 )) KB)"
# The page travels as one file (mailed, put on any server): it must stay small. The README states
# this limit.
limit=200 # KB
if [ "$size" -ge $((limit * 1024)) ]; then
  echo "The page is not under $limit KB" >&2
  exit 1
fi
