#!/usr/bin/env bash
# Serves the site to publish, BUILD/site/ (scripts/web.sh writes it; built here when missing), to
# the local network with Python's own HTTP server, and prints its address and a QR code of it that
# a phone's camera opens. There the page plays but does not install: browsers install a web app
# only from HTTPS or from localhost. Ctrl-C stops it.
# Usage: serve.sh [--port PORT] [--bind ADDRESS] [--qr PNG] [BUILD]
#   PORT: 8000 by default; ADDRESS: the one address to serve on (127.0.0.1: this machine alone),
#   every address of the machine by default; PNG: where to write the QR code as an image too;
#   BUILD: build-web/ in the project's root by default.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
port=8000
bind=
qr=
while [ $# -gt 0 ]; do
  case $1 in
    --port) port=${2:?--port needs a number}; shift 2 ;;
    --bind) bind=${2:?--bind needs an address}; shift 2 ;;
    --qr) qr=${2:?--qr needs a file}; shift 2 ;;
    -h | --help) sed -n '2,9s/^# \?//p' "$0"; exit 0 ;;
    -*) echo "Unknown option $1; see serve.sh --help" >&2; exit 2 ;;
    *) break ;;
  esac
done
build=${1:-$root/build-web}
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${SERVE_PACKAGES[@]}"
[ -f "$build/site/index.html" ] || bash "$root/scripts/web.sh" "$build"

# The address a phone reaches: the one served on, else the machine's first IPv4 address on a
# network, else (a machine on no network) the loopback address, which reaches this machine alone.
address=$bind
if [ -z "$address" ] || [ "$address" = 0.0.0.0 ]; then
  address=$(hostname -I 2>/dev/null | tr ' ' '\n' | grep -m 1 -F . || true)
fi
url="http://${address:-127.0.0.1}:$port/"
echo "Serving $build/site/ at $url"
echo "Open that address, or scan this code, on a phone on the same network:"
qrencode -t UTF8 "$url"
[ -z "$qr" ] || qrencode -o "$qr" "$url"
echo "The game plays there but does not install: browsers install only from HTTPS or localhost"
echo "(here, http://localhost:$port/). Ctrl-C stops the server."
exec python3 -m http.server "$port" ${bind:+--bind "$bind"} --directory "$build/site"
