#!/usr/bin/env bash
# Runs a command in an X server of its own: Xvfb on a free display (24-bit, black root window, no
# TCP), with DISPLAY set for the command; the server stops when the command ends, and the command's
# exit status is the script's. Usage: with-xvfb.sh COMMAND [ARGS...]
set -u
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -noreset -nolisten tcp -br -screen 0 1024x768x24 3>"$fifo" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; rm -f "$fifo"' EXIT
# The server writes its display number once it accepts connections; if it fails, read sees EOF.
read -r display <"$fifo" || { echo "with-xvfb.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=:$display "$@"
