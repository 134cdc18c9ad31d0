#!/usr/bin/env bash
# Runs a command as with-display.sh does, in a fresh display of its own, but with Wine set to
# another screen DPI in a prefix of its own ($BUILD_DIR/wineprefix-dpiN): at 192 every
# program is told to draw at 200 %.
# Usage: with-dpi.sh DPI COMMAND...
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
choose_wine
dpi=$1
shift
export WINEPREFIX=$build/wineprefix-dpi$dpi
"$root/tools/wine-prefix.sh" "$WINEPREFIX" --copy-of "$build/wineprefix" --dpi "$dpi"
exec env -u INSIDE_XVFB "$root/tools/with-display.sh" "$@"
