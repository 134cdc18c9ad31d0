#!/usr/bin/env bash
# Sets up everything, then runs the program beside a sample window.
# With a display: the program runs there until you choose Exit from its tray icon.
# Without one: it runs inside Xvfb, is recorded for a while, and the recording's paths
# are printed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

"$root/tools/build.sh"
choose_wine

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  wine "$build/bin/SampleWindow.exe" >/dev/null 2>&1 &
  sample=$!
  sleep 1
  echo "Tarvolen is running; right-click its tray icon and choose Exit to stop it."
  wine "$build/bin/Tarvolen.exe"
  kill "$sample" 2>/dev/null || true
else
  "$root/tools/with-display.sh" "$root/tools/record-demo.sh" "$build" "$build/demo"
fi
