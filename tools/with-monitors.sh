#!/usr/bin/env bash
# Runs a command on a desktop of two real 1024 x 768 monitors: an Xorg of its own with the
# dummy driver and two RandR outputs, and Wine without a virtual desktop in a prefix of its
# own ($BUILD_DIR/wineprefix-monitors). Windows programs see the primary monitor at
# 0,0-1024,768 and its neighbour at -1024,0-0,768; X sees them at 1024,0 and 0,0. Stops the
# X server and the wineserver afterwards.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
choose_wine
export WINEPREFIX=$build/wineprefix-monitors
"$root/tools/wine-prefix.sh" "$WINEPREFIX" --copy-of "$build/wineprefix" --real-monitors || exit 1

work=$(mktemp -d)
xorg=""
cleanup() {
  wineserver -k 2>/dev/null
  if [ -n "$xorg" ]; then
    kill "$xorg" 2>/dev/null
    wait "$xorg" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "with-monitors.sh: $*" >&2
  grep -hE '\(EE\)|not allowed|permission' "$work/xorg.err" "$work/xorg.log" 2>/dev/null >&2
  exit 1
}

# The server picks a free display and writes its number once it accepts clients.
Xorg -displayfd 3 -config "$root/tools/xorg-dummy.conf" -noreset -nolisten tcp \
  -logfile "$work/xorg.log" 3>"$work/display" </dev/null >/dev/null 2>"$work/xorg.err" &
xorg=$!
for ((i = 0; i < 200; i++)); do
  [ -s "$work/display" ] && break
  kill -0 "$xorg" 2>/dev/null || fail "Xorg did not start"
  sleep 0.05
done
[ -s "$work/display" ] || fail "Xorg did not start in time"
export DISPLAY=:$(cat "$work/display")
unset XAUTHORITY

xrandr --addmode DUMMY1 1024x768 &&
  xrandr --output DUMMY0 --mode 1024x768 --pos 0x0 \
    --output DUMMY1 --mode 1024x768 --pos 1024x0 --primary ||
  fail "RandR did not place the monitors"
# Asking for the monitors also makes the server look at its outputs again: without such a
# query Wine finds DUMMY1 disconnected and sees one monitor.
listed=$(xrandr --listmonitors)
grep -q '^Monitors: 2$' <<<"$listed" && grep -q '+\*DUMMY1 1024/[0-9]*x768/[0-9]*+1024+0 ' <<<"$listed" &&
  grep -q '+DUMMY0 1024/[0-9]*x768/[0-9]*+0+0 ' <<<"$listed" ||
  fail "X does not show the two monitors side by side: $listed"

wineserver -p
# Wine's background services outlive the first program; start them here, detached from our
# output, so that no test runner waits on a pipe they hold open.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
"$@"
