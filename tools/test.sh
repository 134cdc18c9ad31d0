#!/usr/bin/env bash
# Sets up everything and runs every test headless; ends with ctest's summary.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
export BUILD_DIR=$build

"$root/tools/build.sh"
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
"$root/tools/with-display.sh" ctest --test-dir "$build" --output-on-failure "$@"
