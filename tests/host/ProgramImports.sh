#!/usr/bin/env bash
# The program must start on Windows 7: it imports only from the system DLLs it always had,
# and never a function newer Windows added (those are looked up while running instead).
set -euo pipefail
build_dir=$2
allowed_dlls='^(GDI32|KERNEL32|msvcrt|SHELL32|USER32)\.dll$'
newer_functions='^(GetDpiForMonitor|GetDpiForWindow|GetDpiForSystem|SetProcessDpiAwareness|SetProcessDpiAwarenessContext|SetThreadDpiAwarenessContext|GetSystemMetricsForDpi|AdjustWindowRectExForDpi|EnableNonClientDpiScaling|SystemParametersInfoForDpi|SHQueryUserNotificationState)$'
program=$build_dir/bin/Tarvolen.exe
if [ ! -f "$program" ]; then
  echo "no program found under $build_dir" >&2
  exit 1
fi
status=0
imports=$(objdump -p "$program")
while read -r dll; do
  if ! [[ $dll =~ $allowed_dlls ]]; then
    echo "$program imports from $dll" >&2
    status=1
  fi
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$imports")
while read -r function; do
  if [[ $function =~ $newer_functions ]]; then
    echo "$program imports $function, which Windows 7 lacks" >&2
    status=1
  fi
done < <(awk '/DLL Name:/ { listing = 1 } listing && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print $3 }' <<<"$imports")
exit $status
