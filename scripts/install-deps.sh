#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Vantory Note needs.
# Safe to run again: it only installs what is missing.
set -euo pipefail
pkgs=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev zlib1g-dev
  mingw-w64 g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 xvfb xdotool x11-utils imagemagick inkscape icoutils
  zip unzip p7zip-full libarchive-tools python3 nsis
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -q
  $sudo_cmd apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
