#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building and testing needs on a Debian machine. Idempotent: it only
# calls apt when a package is missing, and runs `apt-get update` at most once.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-dev libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64
  xvfb xdotool x11-utils x11-xserver-utils imagemagick openbox
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation
  xserver-xorg-core xserver-xorg-video-dummy
  xzoom procps xclip python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
stamp=/var/lib/apt/periodic/vexelo-update-stamp
if [ ! -e "$stamp" ] || ! $sudo apt-get install -y --no-install-recommends --dry-run "${missing[@]}" >/dev/null 2>&1; then
  $sudo apt-get update -q
  $sudo mkdir -p "$(dirname "$stamp")" && $sudo touch "$stamp"
fi
echo "installing: ${missing[*]}"
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
