# Sourced by the tools scripts: resolves the build tree and points Wine at its quiet prefix.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
export BUILD_DIR=$build
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Some kernels run no 32-bit program at all, and so no 32-bit Wine. There the tests run
# the 64-bit build of the same sources under wine64; the 32-bit program is built and checked
# with the downloads.
# Call after the packages are installed; sets test_arch to i686 or x86_64.
choose_wine() {
  if [ -n "${TARVOLEN_TEST_ARCH:-}" ]; then
    test_arch=$TARVOLEN_TEST_ARCH
  elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
    test_arch=i686
  else
    test_arch=x86_64
  fi
  export TARVOLEN_TEST_ARCH=$test_arch
  if [ "$test_arch" = x86_64 ]; then
    local shims=$build/wine64-bin
    if [ ! -x "$shims/wine" ]; then
      mkdir -p "$shims"
      for name in wine wine-stable; do
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$shims/$name"
        chmod +x "$shims/$name"
      done
    fi
    case ":$PATH:" in *":$shims:"*) ;; *) export PATH="$shims:$PATH" ;; esac
  fi
}
