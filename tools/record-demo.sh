#!/usr/bin/env bash
# Records the program at work on the current display: a sample window in front, its sign,
# and a figure that walks in, climbs a ladder and polishes the sign. Writes a still PNG and
# an animated GIF of the part of the screen where it happens.
# Usage: record-demo.sh BUILD_DIR OUTPUT_DIR [SECONDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/scene-seed.sh"
build=$1
out=$2
seconds=${3:-${DEMO_SECONDS:-24}}
interval=0.2
# The sign hangs at (128, 150): near the left edge, so that the figure soon arrives.
crop=720x360+0+110
still_second=10.6
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
mkdir -p "$out"

wine "$build/bin/SampleWindow.exe" "Notes - Sample" 250 150 420 300 </dev/null >/dev/null 2>&1 &
sample=$!
sleep 1.5
wait_for_ladder_visit
wine "$build/bin/Tarvolen.exe" </dev/null >/dev/null 2>&1 &
program=$!

# Frames are taken on a fixed beat as far as the machine keeps up, for the given time; each
# one keeps the time it was actually taken, so the GIF plays at the speed of the screen and
# the still shows its moment even when captures run late.
start=$(date +%s.%N)
seconds_since() {
  awk -v start="$start" -v at="$1" 'BEGIN { print at - start }'
}
for ((i = 0; ; i++)); do
  awk -v t="$(seconds_since "$(date +%s.%N)")" -v s="$seconds" 'BEGIN { exit !(t >= s) }' && break
  frame=$(printf '%s/%04d' "$frames" "$i")
  date +%s.%N >"$frame.time"
  import -window root "$frame.png" 2>/dev/null || rm -f "$frame.time"
  awk -v start="$start" -v next_at="$((i + 1))" -v i="$interval" -v now="$(date +%s.%N)" \
    'BEGIN { d = start + next_at * i - now; if (d > 0) printf "%.3f\n", d; else print 0 }' |
    xargs sleep
done
kill "$program" "$sample" 2>/dev/null || true

# The still: the figure up the ladder, polishing the sign; the first frame taken from then on.
for time_file in "$frames"/*.time; do
  still=${time_file%.time}.png
  awk -v t="$(seconds_since "$(cat "$time_file")")" -v s="$still_second" \
    'BEGIN { exit !(t >= s) }' && break
done
convert "$still" -crop "$crop" +repage "$out/tarvolen.png"

# Each frame stays until the next one was taken, in hundredths of a second.
sequence=()
previous=""
for time_file in "$frames"/*.time; do
  if [ -n "$previous" ]; then
    delay=$(awk -v a="$(cat "$previous")" -v b="$(cat "$time_file")" \
      'BEGIN { printf "%d\n", (b - a) * 100 + 0.5 }')
    sequence+=(-delay "$delay" "${previous%.time}.png")
  fi
  previous=$time_file
done
sequence+=(-delay 200 "${previous%.time}.png")
convert "${sequence[@]}" -crop "$crop" +repage -layers Optimize -loop 0 "$out/tarvolen.gif"

echo "Still picture: $out/tarvolen.png"
echo "Recording:     $out/tarvolen.gif"
