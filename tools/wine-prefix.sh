#!/usr/bin/env bash
# Creates a quiet Wine prefix with a 1024 x 768 virtual desktop, once per directory.
set -euo pipefail
prefix=$1

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

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$prefix"
echo "Creating the Wine prefix in $prefix (once)..."
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
add_marlett
touch "$prefix/.ready"
