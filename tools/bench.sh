#!/usr/bin/env bash
# Builds, then runs the benchmarks under Wine in a fresh 1024 x 768 display: prints the table
# of figures beside their floors, and writes docs/bench/results.json and the table in
# docs/bench/README.md (between its figure markers). Arguments go to the bench program:
# --quick (a smoke run, which leaves docs/ alone) or --only startup|tick|render|memory|cadence.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

"$root/tools/build.sh"
choose_wine

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Wine starts the program in this directory, so plain file names land here.
(cd "$work" && "$root/tools/with-display.sh" wine "$build/bin/Bench.exe" \
   --json results.json --table table.md "$@")

case " $* " in
  *" --quick "*) exit 0 ;;
esac
out=$root/docs/bench
mkdir -p "$out"
tr -d '\r' <"$work/results.json" >"$out/results.json"
readme=$out/README.md
if [ -f "$readme" ] && grep -q '<!-- figures -->' "$readme"; then
  awk -v table="$work/table.md" '
    /<!-- \/figures -->/ { skipping = 0 }
    !skipping { print }
    /<!-- figures -->/ { while ((getline line < table) > 0) { sub(/\r$/, "", line); print line }; skipping = 1 }
  ' "$readme" >"$work/README.md"
  cp "$work/README.md" "$readme"
else
  { echo "# Benchmarks"; echo; echo "<!-- figures -->"; tr -d '\r' <"$work/table.md";
    echo "<!-- /figures -->"; } >"$readme"
fi
echo "Wrote $out/results.json and the figures in $readme"
