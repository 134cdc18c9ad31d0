#!/usr/bin/env bash
# Records the program at work on the current display: a sample window in front, its sign,
# and the figures that visit it. Writes a still PNG and an animated GIF.
# Usage: record-demo.sh BUILD_DIR OUTPUT_DIR [SECONDS]
set -euo pipefail
build=$1
out=$2
seconds=${3:-${DEMO_SECONDS:-20}}
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
mkdir -p "$out"

wine "$build/bin/SampleWindow.exe" "Notes - Sample" 330 170 460 330 </dev/null >/dev/null 2>&1 &
sleep 1.5
wine "$build/bin/Tarvolen.exe" </dev/null >/dev/null 2>&1 &
program=$!

interval=0.25
count=$(awk -v s="$seconds" -v i="$interval" 'BEGIN { print int(s / i) }')
for ((i = 0; i < count; i++)); do
  import -window root "$(printf '%s/%04d.png' "$frames" "$i")" 2>/dev/null || true
  sleep "$interval"
done

cp "$(ls "$frames"/*.png | sed -n "$((count * 3 / 4))p")" "$out/tarvolen.png"
convert -delay 25 -loop 0 "$frames"/*.png -resize 640x480 -layers Optimize "$out/tarvolen.gif"

kill "$program" 2>/dev/null || true
echo "Still picture: $out/tarvolen.png"
echo "Recording:     $out/tarvolen.gif"
