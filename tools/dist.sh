#!/usr/bin/env bash
# Builds the program for 32-bit and for 64-bit Windows, each from a clean tree, and packs
# each with the Windows read-me into dist/Tarvolen-<version>-win32.zip and -win64.zip, with
# its SHA-256 beside it. The same commit gives the same bytes wherever and whenever it is
# built.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

"$root/tools/install-deps.sh"

# Both files carry the commit's time; zip stores local times, so the zone is fixed too.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
export TZ=UTC

version=$(sed -n 's/^FILEVERSION[ \t]*//p' "$root/res/Tarvolen.rc" | tr -d ' \t\r' | tr , .)
if [ -z "$version" ]; then
  echo "no FILEVERSION in res/Tarvolen.rc" >&2
  exit 1
fi

dist=$root/dist
mkdir -p "$dist"
for flavour in win32:i686:32 win64:x86_64:64; do
  IFS=: read -r suffix arch bits <<<"$flavour"
  name=Tarvolen-$version-$suffix
  tree=$build/dist-$suffix
  rm -rf "$tree"
  # Stripped: the C runtime's debug information is of no use to the people who run it.
  cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_EXE_LINKER_FLAGS=-s >/dev/null
  cmake --build "$tree" --target Tarvolen

  stage=$tree/stage
  mkdir -p "$stage"
  install -m 755 "$tree/bin/Tarvolen.exe" "$stage/Tarvolen.exe"
  # Each read-me names its own build. Notepad on older Windows shows a file without CRs on
  # one line.
  sed -e "s/@VERSION@/$version/g" -e "s/@BUILD@/$bits-bit ($suffix)/g" -e 's/\r*$/\r/' \
      "$root/docs/windows/ReadMe.txt" >"$stage/ReadMe.txt"
  chmod 644 "$stage/ReadMe.txt"
  touch -d "@$SOURCE_DATE_EPOCH" "$stage/Tarvolen.exe" "$stage/ReadMe.txt"

  # zip -X leaves out the owner and the extra time fields; CPack's zip (CMake 3.25) would
  # store the builder's user and group ids.
  rm -f "$dist/$name.zip" "$dist/$name.zip.sha256"
  (cd "$stage" && zip -q -X -D "$dist/$name.zip" Tarvolen.exe ReadMe.txt)
  (cd "$dist" && sha256sum "$name.zip" >"$name.zip.sha256")
  echo "$dist/$name.zip"
  echo "$dist/$name.zip.sha256"
done
