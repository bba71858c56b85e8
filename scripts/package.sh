#!/usr/bin/env bash
# Builds the game in Release and makes its Debian package, build/quobbel_<version>_amd64.deb, which
# `sudo apt install ./build/quobbel_*.deb` installs with the libraries it needs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install-deps.sh"
# Lets separate checkouts of the project share one compiler cache.
export CCACHE_BASEDIR="$top"
# Debug information would otherwise carry each checkout's own build path into the cache key.
export CCACHE_NOHASHDIR=1
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release -DQUOBBEL_TESTS=OFF
cmake --build "$top/build" -j"$(nproc)"
cd "$top/build"
cpack -G DEB
