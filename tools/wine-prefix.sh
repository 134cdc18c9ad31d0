#!/usr/bin/env bash
# Creates a quiet Wine prefix, once per directory. By default every program runs in a
# 1024 x 768 virtual desktop.
# Usage: wine-prefix.sh PREFIX [--copy-of PREFIX] [--dpi N] [--real-monitors]
#   --copy-of        start from a copy of a ready prefix (seconds instead of half a minute)
#   --dpi N          the screen's DPI that programs read (192 draws at 200 %)
#   --real-monitors  no virtual desktop: windows go straight to the X server's monitors
set -euo pipefail
prefix=$1
shift

# Wine draws caption buttons, menu arrows and check marks with its own Marlett font. Debian's
# Wine 8 does not look where Debian's fonts-wine puts it, and without it the buttons show as
# the letters "0 1 r"; a font in the prefix's own font folder is always found.
add_marlett() {
  local fonts=$prefix/drive_c/windows/Fonts
  if [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}
if [ -f "$prefix/.ready" ]; then
  add_marlett
  exit 0
fi
base="" dpi="" real_monitors=""
while [ $# -gt 0 ]; do
  case $1 in
    --copy-of) base=$2; shift 2 ;;
    --dpi) dpi=$2; shift 2 ;;
    --real-monitors) real_monitors=1; shift ;;
    *) echo "wine-prefix.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$prefix"
if [ -n "$base" ] && [ -f "$base/.ready" ]; then
  cp -a "$base" "$prefix"
  rm -f "$prefix/.ready"
else
  echo "Creating the Wine prefix in $prefix (once)..."
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
fi
if [ -n "$real_monitors" ]; then
  wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
else
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
fi
if [ -n "$dpi" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi
wineserver -w
add_marlett
touch "$prefix/.ready"
