#!/usr/bin/env bash
# Builds the game as one self-contained web page, BUILD/fizzgrid.html (BUILD: build-web/ in the
# project's root by default), installing what is missing, and prints its size. The page needs no
# server: open it from disk in a browser. From it, the site to publish on a static web host,
# BUILD/site/: the page as index.html, with a web app manifest and a service worker that keeps the
# site for offline play, so that a phone installs it as an app (scripts/serve.sh serves it).
# Usage: web.sh [BUILD [TARGET...]]; each TARGET of web/CMakeLists.txt (fizzgrid_bench, the
# benchmark page) is built too.
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

# The site. Its name is the window's title, from app/window.h; its short name, under a phone's
# icon, the title's part before " -- ".
site="$build/site"
title=$(sed -n 's/^#define WINDOW_TITLE "\([^"\\]*\)"$/\1/p' "$root/app/window.h")
[ -n "$title" ] || { echo "No line '#define WINDOW_TITLE \"...\"' in app/window.h" >&2; exit 1; }
rm -rf "$site"
mkdir "$site"
# The icons, from the artwork: at the two sizes that browsers ask for, with the artwork's own
# rounded corners; and one that the phone crops to its own shape (maskable), black to its edges
# with the tiles (the artwork's central 112 of 128 units) within the central circle of 80 % of its
# side that every crop keeps: 328 px of artwork on 512 px, whose tiles' corners lie 204 px from
# the middle, inside the circle's 204.8.
art="$root/data/fizzgrid.svg"
rsvg-convert -w 192 -h 192 "$art" -o "$site/icon-192.png"
rsvg-convert -w 512 -h 512 "$art" -o "$site/icon-512.png"
rsvg-convert -w 328 -h 328 --page-width 512 --page-height 512 --left 92 --top 92 -b black "$art" \
  -o "$site/icon-maskable-512.png"
cat >"$site/manifest.webmanifest" <<EOF
{
  "id": "./",
  "name": "$title",
  "short_name": "${title%% -- *}",
  "description": "A two-player board game of bursting orbs, played in turns on one device.",
  "start_url": "./",
  "scope": "./",
  "display": "standalone",
  "orientation": "any",
  "background_color": "#000000",
  "theme_color": "#000000",
  "icons": [
    {"src": "icon-192.png", "sizes": "192x192", "type": "image/png", "purpose": "any"},
    {"src": "icon-512.png", "sizes": "512x512", "type": "image/png", "purpose": "any"},
    {"src": "icon-maskable-512.png", "sizes": "512x512", "type": "image/png", "purpose": "maskable"}
  ]
}
EOF
# index.html is the page with two lines more before </head>: the manifest's link, and the worker's
# registration, once the page has loaded (browsers give no service worker to a page from disk or
# from plain http on a network: there the page plays as the single file does).
[ "$(grep -c '^</head>$' "$page")" = 1 ] || { echo "$page: not one line '</head>'" >&2; exit 1; }
awk '$0 == "</head>" {
  print "<link rel=\"manifest\" href=\"manifest.webmanifest\">"
  print "<script>if (\"serviceWorker\" in navigator) addEventListener(\"load\", function () {" \
    " navigator.serviceWorker.register(\"sw.js\").catch(function (error) {" \
    " console.log(\"No offline play: \" + error.message); }); });</script>"
} { print }' "$page" >"$site/index.html"
# The worker keeps every file of the site, the folder's own address (the start URL) too, in a cache
# named after their contents and its own: a build that changes any of them replaces the cache on
# the next visit online.
files=\"./\"
for file in "$site"/*; do files+=", \"${file##*/}\""; done
version=$(cat "$site"/* "$root/web/site/sw.js" | sha256sum | cut -c 1-16)
sed -e "s/@VERSION@/$version/" -e "s|@FILES@|$files|" "$root/web/site/sw.js" >"$site/sw.js"
size=$(cat "$site"/* | wc -c)
echo "$site/: $size bytes ($(( (size + 1023) / 1024 )) KB) in $(ls "$site" | wc -l) files"
# The site is the page and what a phone fetches with it on the first visit: small too. The README
# states this limit.
limit=300 # KB
if [ "$size" -ge $((limit * 1024)) ]; then
  echo "The site is not under $limit KB" >&2
  exit 1
fi
