#!/usr/bin/env bash
# Installs the cross toolchain, Wine and the headless display tools on Debian 12: Xvfb for
# the one-screen suite, Xorg's dummy driver and the X libraries through which Wine sees
# several monitors.
# Idempotent and quiet: does nothing when everything is already there.
set -euo pipefail

packages=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine wine32:i386
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64
          xvfb xauth cmake ninja-build googletest imagemagick xdotool
          fonts-wine libcairo2-dev pkg-config g++ fonts-dejavu-core zip unzip
          xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
          libxrandr2 libxinerama1 libxrandr2:i386 libxinerama1:i386)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
