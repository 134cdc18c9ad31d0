#!/usr/bin/env bash
# The reader of 8-bit pictures, built for the host with the sanitizers, against damaged
# resources: any read or write outside its buffers fails the run as well.
set -euo pipefail
source_dir=$1
out=$2/picture-reader
mkdir -p "$out"
g++ -std=c++17 -O1 -g -Wall -Wextra -Werror -fsanitize=address,undefined \
    -fno-sanitize-recover=all -I"$source_dir/src" "$source_dir/src/gfx/IndexedPicture.cpp" \
    "$source_dir/tests/host/PictureReader.cpp" -o "$out/picture-reader"
"$out/picture-reader"
