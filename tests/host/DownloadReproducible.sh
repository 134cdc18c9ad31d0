#!/usr/bin/env bash
# Two copies of the sources in different directories, packed one after the other, must
# give the same two downloads byte for byte; each carries its own build of the program,
# checked for what it imports, and a CRLF read-me that names that build.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The work tree as it is, uncommitted files included, without build output.
cd "$source_dir"
git ls-files --cached --others --exclude-standard | while read -r file; do
  if [ -e "$file" ]; then echo "$file"; fi
done >"$work/files"
export SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)

copies=("$work/first" "$work/second/at/another/depth")
for copy in "${copies[@]}"; do
  mkdir -p "$copy"
  tar -cf - -T "$work/files" | tar -xf - -C "$copy"
  env -u BUILD_DIR "$copy/tools/dist.sh" >/dev/null
done

status=0
fail() { echo "$zip $*" >&2; status=1; }
for build in win32:pei-i386:32 win64:pei-x86-64:64; do
  IFS=: read -r suffix format bits <<<"$build"
  zip=$(cd "${copies[0]}/dist" && ls Tarvolen-*-"$suffix".zip)
  first=${copies[0]}/dist/$zip
  cmp "$first" "${copies[1]}/dist/$zip" || status=1
  (cd "${copies[0]}/dist" && sha256sum --quiet -c "$zip.sha256") || status=1
  bash "$source_dir/tests/host/ProgramImports.sh" "$source_dir" "${copies[0]}/build/dist-$suffix" ||
    status=1
  unzip -p "$first" Tarvolen.exe >"$work/Tarvolen.exe"
  unzip -p "$first" ReadMe.txt >"$work/ReadMe.txt"
  [ "$(unzip -Z1 "$first" | tr '\n' ' ')" = "Tarvolen.exe ReadMe.txt " ] ||
    fail "holds something else than Tarvolen.exe and ReadMe.txt"
  [[ "$(objdump -f "$work/Tarvolen.exe")" == *"file format $format"* ]] ||
    fail "holds a Tarvolen.exe that is not $format"
  ! grep -q -v $'\r$' "$work/ReadMe.txt" || fail "has read-me lines that do not end in CRLF"
  grep -qF "the $bits-bit ($suffix) build" "$work/ReadMe.txt" &&
    ! grep -q '@[A-Z]*@' "$work/ReadMe.txt" || fail "has a read-me that does not name its build"
done
exit $status
