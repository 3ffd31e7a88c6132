#!/usr/bin/env bash
# Exit status 0 when a picture is like the expected one: no channel of any pixel differs by more
# than LEVELS of 255 (default 2, room for builds of Mesa that round a little differently: one level
# seen, on aarch64). What a player could see (a colour changed, a shape moved by a pixel, an orb
# missing) differs by far more. Otherwise prints how far apart they are.
# Usage: same-picture.sh PICTURE EXPECTED [LEVELS]
peak=$(compare -metric PAE "$1" "$2" null: 2>&1) # "257 (0.00392157)": the peak, then as a fraction
levels=$(echo "$peak" | sed -n 's/.*(\([0-9.e-]*\)).*/\1/p' | awk '{ printf "%.0f", $1 * 255 }')
[ -n "$levels" ] || { echo "$1: $peak"; exit 2; } # not comparable: another size, say
[ "$levels" -le "${3:-2}" ] && exit 0
echo "$1 differs from $2 by up to $levels levels of 255"
exit 1
