#!/usr/bin/env bash
# Two copies of the sources in different directories, packed one after the other, must
# give the same download byte for byte; it carries the 32-bit program and a CRLF read-me.
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
  env -u BUILD_DIR "$copy/tools/dist.sh"
done

zip=$(cd "${copies[0]}/dist" && ls *.zip)
first=${copies[0]}/dist/$zip
second=${copies[1]}/dist/$zip
unzip -p "$first" Tarvolen.exe >"$work/first.exe"
unzip -p "$second" Tarvolen.exe >"$work/second.exe"
unzip -p "$first" ReadMe.txt >"$work/ReadMe.txt"
status=0
cmp "$work/first.exe" "$work/second.exe" || status=1
cmp "$first" "$second" || status=1
(cd "${copies[0]}/dist" && sha256sum --quiet -c "$zip.sha256") || status=1

if [ "$(unzip -Z1 "$first" | tr '\n' ' ')" != "Tarvolen.exe ReadMe.txt " ]; then
  echo "$zip holds something else than Tarvolen.exe and ReadMe.txt" >&2
  status=1
fi
if [[ "$(i686-w64-mingw32-objdump -f "$work/first.exe")" != *"file format pei-i386"* ]]; then
  echo "the Tarvolen.exe in $zip is not a 32-bit program" >&2
  status=1
fi
if grep -q -v $'\r$' "$work/ReadMe.txt"; then
  echo "ReadMe.txt in $zip has lines that do not end in CRLF" >&2
  status=1
fi
exit $status
