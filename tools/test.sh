#!/usr/bin/env bash
# Sets up everything and runs every test headless; ends with ctest's summary.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

"$root/tools/build.sh"
choose_wine
"$root/tools/with-display.sh" ctest --test-dir "$build" --output-on-failure "$@"
