#!/usr/bin/env bash
# Builds, then takes the same moment of the program at 100 % and at 200 % (Wine set to 96
# and to 192 DPI), each in a display of its own: a sample window, its sign and a ladder
# figure at work. Writes them side by side to docs/demo/dpi-stills.png.
set -euo pipefail
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# After the program starts: the figure stands at its ladder, up at the sign.
still_seconds=${STILL_SECONDS:-11}
crop=1024x620+0+100

if [ "${1:-}" = --take ]; then
  # Inside a display and its Wine prefix: one still into $2, the sample window's left edge
  # at $3.
  source "$tools/scene-seed.sh"
  wine "$BUILD_DIR/bin/SampleWindow.exe" "Notes - Sample" "$3" 130 400 300 </dev/null \
    >/dev/null 2>&1 &
  sample=$!
  sleep 1.5
  wait_for_ladder_visit
  wine "$BUILD_DIR/bin/Tarvolen.exe" </dev/null >/dev/null 2>&1 &
  program=$!
  sleep "$still_seconds"
  import -window root -crop "$crop" +repage "$2"
  kill "$program" "$sample" 2>/dev/null || true
  exit 0
fi

source "$tools/wine-env.sh"
"$root/tools/build.sh"
choose_wine
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# At 200 % the window stands twice as far right, so that the figure walks the same number
# of its (twice as long) steps to the sign, and both stills show the same moment.
"$root/tools/with-display.sh" "$0" --take "$work/100.png" 300
"$root/tools/with-dpi.sh" 192 "$0" --take "$work/200.png" 600
out=$root/docs/demo
mkdir -p "$out"
montage -font DejaVu-Sans -pointsize 22 -label '100 %% (96 DPI)' "$work/100.png" \
  -label '200 %% (192 DPI)' "$work/200.png" -tile 2x1 -geometry +8+8 -background white \
  "$out/dpi-stills.png"
echo "Stills side by side: $out/dpi-stills.png"
