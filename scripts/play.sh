#!/usr/bin/env bash
# Installs what the game needs, builds it in Release, generates its media and starts it from the game
# directory (build/game).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install-deps.sh"
# Lets separate checkouts of the project share one compiler cache.
export CCACHE_BASEDIR="$top"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release -DQUOBBEL_TESTS=OFF
cmake --build "$top/build" -j"$(nproc)"
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: the game needs a graphical desktop (DISPLAY is not set). It is built in $top/build/game." >&2
    exit 1
fi
cd "$top/build/game"
exec ./quobbel
