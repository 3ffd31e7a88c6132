#!/usr/bin/env bash
# Usage: same-picture.sh PICTURE EXPECTED [LEVELS]. Passes when no channel of a pixel is more than
# LEVELS of 255 apart (default 2: Mesa's builds round a little differently; a player sees far more).
peak=$(compare -metric PAE "$1" "$2" null: 2>&1) # "257 (0.00392157)": the peak, then as a fraction
levels=$(echo "$peak" | sed -n 's/.*(\([0-9.e-]*\)).*/\1/p' | awk '{ printf "%.0f", $1 * 255 }')
[ -n "$levels" ] || { echo "$1: $peak"; exit 2; } # not comparable: another size, say
[ "$levels" -le "${3:-2}" ] || { echo "$1 differs from $2 by up to $levels levels of 255"; exit 1; }
