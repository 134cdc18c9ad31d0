#!/usr/bin/env bash
# Builds the artwork generator with the host compiler and rewrites the generated resource files
# under res/ and the previews under docs/art/. Pass --no-previews to skip the previews.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${ART_BUILD_DIR:-$root/tools/art/build}

cmake -S "$root/tools/art" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" >/dev/null
"$build/tarvolen-art" --res "$root/res"

if [ "${1:-}" = "--no-previews" ]; then
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tarvolen-art" --previews "$work"
mkdir -p "$root/docs/art"
cp "$work"/*.png "$root/docs/art/"
for list in "$work"/*.frames; do
  name=$(basename "$list" .frames)
  args=()
  while read -r delay file; do
    args+=(-delay "$delay" "$file")
  done <"$list"
  convert -loop 0 "${args[@]}" -layers Optimize "$root/docs/art/$name.gif"
done
