#!/usr/bin/env bash
# Installs what the project needs on a fresh Debian 12 machine (run as root). Idempotent: when every
# package is already there it does nothing.
set -euo pipefail

packages=(
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils
  fonts-noto-cjk # the face that folder and item names in Chinese, Japanese and Korean are drawn with
  openbox # the window manager of the display on which the wizard's road tests run a second time
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  cmake ninja-build g++ googletest nodejs npm
  pff-tools pst-utils python3-pypff
  clang libclang-rt-14-dev imagemagick
  fp-utils # chmcmd, the compiler of the help file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# npm may come with Node.js from elsewhere; only ask Debian for it when the command is missing.
if command -v npm >/dev/null 2>&1; then
  missing=("${missing[@]/npm}")
  missing=("${missing[@]/nodejs}")
fi
read -r -a missing <<<"${missing[*]}"

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
