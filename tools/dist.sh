#!/usr/bin/env bash
# Builds the 32-bit program from a clean tree and packs it with the Windows read-me into
# dist/Tarvolen-<version>-win32.zip, with its SHA-256 beside it. The same commit gives
# the same bytes wherever and whenever it is built.
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
name=Tarvolen-$version-win32

tree=$build/dist-win32
rm -rf "$tree"
# Stripped: the C runtime's debug information is of no use to the people who run it.
cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_EXE_LINKER_FLAGS=-s >/dev/null
cmake --build "$tree" --target Tarvolen

stage=$tree/stage
mkdir -p "$stage"
install -m 755 "$tree/bin/Tarvolen.exe" "$stage/Tarvolen.exe"
# Notepad on older Windows shows a file without CRs on one line.
sed 's/\r*$/\r/' "$root/docs/windows/ReadMe.txt" >"$stage/ReadMe.txt"
chmod 644 "$stage/ReadMe.txt"
touch -d "@$SOURCE_DATE_EPOCH" "$stage/Tarvolen.exe" "$stage/ReadMe.txt"

# zip -X leaves out the owner and the extra time fields; CPack's zip (CMake 3.25) would
# store the builder's user and group ids.
dist=$root/dist
mkdir -p "$dist"
rm -f "$dist/$name.zip" "$dist/$name.zip.sha256"
(cd "$stage" && zip -q -X -D "$dist/$name.zip" Tarvolen.exe ReadMe.txt)
(cd "$dist" && sha256sum "$name.zip" >"$name.zip.sha256")

echo "$dist/$name.zip"
echo "$dist/$name.zip.sha256"
