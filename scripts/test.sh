#!/usr/bin/env bash
# Installs what the tests need, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# warnings as errors, and runs every test (unit, integration under Xvfb, end to end).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-test"
bash "$top/scripts/install-deps.sh"
# Lets separate checkouts of the project share one compiler cache.
export CCACHE_BASEDIR="$top"
# Debug information would otherwise carry each checkout's own build path into the cache key.
export CCACHE_NOHASHDIR=1
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOBBEL_SANITIZE=ON -DQUOBBEL_WERROR=ON
cmake --build "$build" -j"$(nproc)"
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j2 "$@"
