#!/usr/bin/env bash
# Builds, then plants every fault listed in tools/faults/faults.txt (or those whose name
# matches the argument) and reports which the tests catch.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../wine-env.sh"
"$root/tools/build.sh" >/dev/null
choose_wine
"$root/tools/with-display.sh" python3 "$root/tools/faults/plant.py" "$@"
