#!/usr/bin/env bash
# Installs the Debian 12 packages the game, its media generator and its tests need.
set -euo pipefail
packages=(
    build-essential cmake ccache pkg-config clang clang-format libclang-rt-14-dev
    libogre-1.12-dev libois-dev libopenal-dev libvorbis-dev libbox2d-dev libboost-thread-dev
    libxwiimote-dev libsdl2-dev libzip-dev zlib1g-dev libfreetype-dev libpng-dev libx11-dev libxrandr-dev libgl-dev fonts-dejavu-core
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libgl1-mesa-dri libglx-mesa0 xvfb xauth xdotool x11-utils imagemagick sound-theme-freedesktop vorbis-tools
    dpkg-dev file lintian desktop-file-utils appstream man-db gdb
)
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
if dpkg -s "${packages[@]}" >/dev/null 2>&1; then
    exit 0
fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${packages[@]}"
