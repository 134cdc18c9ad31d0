#!/usr/bin/env bash
# Runs a command inside a fresh 24-bit 1024 x 768 Xvfb with one persistent wineserver for
# the prefix in $WINEPREFIX, and stops both afterwards.
set -uo pipefail
if [ -z "${INSIDE_XVFB:-}" ]; then
  exec env INSIDE_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi
wineserver -p
trap 'wineserver -k 2>/dev/null; true' EXIT
# Wine's background services and the desktop window outlive the first program; start them
# here, detached from our output, so that no test runner waits on a pipe they hold open.
wine explorer.exe /desktop=Default,1024x768 </dev/null >/dev/null 2>&1 &
sleep 0.2
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
"$@"
