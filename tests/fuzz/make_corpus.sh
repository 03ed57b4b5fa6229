#!/bin/bash
# Writes the seed corpus: real ICO files from icoutils (several sizes and depths, BMP and PNG
# entries) and the program's own icon. Usage: make_corpus.sh <program icon.ico> <corpus directory>
set -euo pipefail
icon=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
for size in 16 32 48; do
    convert -size ${size}x${size} xc:none -fill '#1f2a44' -draw "circle $((size / 2)),$((size / 2)) $((size / 2)),1" \
        "PNG32:$work/clock$size.png"
done
icotool -c -o "$out/bmp-16.ico" "$work/clock16.png"
icotool -c -o "$out/bmp-16-32-48.ico" "$work/clock16.png" "$work/clock32.png" "$work/clock48.png"
icotool -c -b 8 -o "$out/bmp-8bit-32.ico" "$work/clock32.png"
icotool -c -r "$work/clock32.png" -o "$out/png-32.ico"
icotool -c "$work/clock16.png" -r "$work/clock48.png" -o "$out/bmp-and-png.ico"
icotool -c -t -o "$out/cursor-32.cur" "$work/clock32.png" --hotspot-x=1 --hotspot-y=1 2>/dev/null ||
    icotool -c --cursor -o "$out/cursor-32.cur" "$work/clock32.png" --hotspot-x=1 --hotspot-y=1
cp "$icon" "$out/quillora.ico"  # only for a local corpus: the build makes this one
