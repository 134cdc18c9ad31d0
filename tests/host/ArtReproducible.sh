#!/usr/bin/env bash
# The checked-in artwork under res/ must be exactly what tools/art draws: rebuild the
# generator, draw everything twice into scratch directories and compare byte for byte.
set -euo pipefail
source_dir=$1
build_dir=$2
generator_build=$build_dir/art-generator
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S "$source_dir/tools/art" -B "$generator_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build "$generator_build" >/dev/null
"$generator_build/tarvolen-art" --res "$work/first"
"$generator_build/tarvolen-art" --res "$work/second"

if ! diff -r "$work/first" "$work/second" >/dev/null; then
  echo "two runs of the generator differ" >&2
  exit 1
fi
status=0
for item in art.rc bitmaps regions icons cursors; do
  if ! diff -r "$work/first/$item" "$source_dir/res/$item"; then
    echo "res/$item differs from what tools/art draws; run tools/art/generate.sh" >&2
    status=1
  fi
done
count=$(ls "$source_dir/res/bitmaps" | wc -l)
if [ "$count" -ne 121 ]; then
  echo "expected 121 bitmaps, found $count" >&2
  status=1
fi
exit $status
