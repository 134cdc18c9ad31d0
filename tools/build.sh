#!/usr/bin/env bash
# Installs what is missing, configures and builds the program, the tests and the prefix.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

"$root/tools/install-deps.sh"
choose_wine

configure() {
  local tree=$1 arch=$2
  shift 2
  if [ "$(cat "$tree/.arch" 2>/dev/null)" != "$arch" ]; then
    rm -f "$tree/build.ninja" "$tree/CMakeCache.txt"
  fi
  if [ ! -f "$tree/build.ninja" ]; then
    cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
          -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    echo "$arch" >"$tree/.arch"
  fi
}

configure "$build" "$test_arch"
cmake --build "$build"
"$root/tools/wine-prefix.sh" "$build/wineprefix"
# The end-to-end runs on two real monitors and at 200 % each have a prefix of their own.
"$root/tools/wine-prefix.sh" "$build/wineprefix-monitors" --copy-of "$build/wineprefix" --real-monitors
"$root/tools/wine-prefix.sh" "$build/wineprefix-dpi192" --copy-of "$build/wineprefix" --dpi 192
