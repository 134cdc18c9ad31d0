# Sourced by the tools scripts: resolves the build tree and points Wine at its quiet prefix.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
export BUILD_DIR=$build
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
