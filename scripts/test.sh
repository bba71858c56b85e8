#!/usr/bin/env bash
# Installs what the tests need, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# warnings as errors, and runs every test (unit, integration under Xvfb, end to end). Then builds the game as
# players get it (Release, no sanitizers) and plays the recorded gameplay replays there too: a replay must
# take the same course in both builds. Arguments go to the first ctest run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-test"
release="$top/build-release"
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")
bash "$top/scripts/install-deps.sh"
# Lets separate checkouts of the project share one compiler cache.
export CCACHE_BASEDIR="$top"
# Debug information would otherwise carry each checkout's own build path into the cache key.
export CCACHE_NOHASHDIR=1
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOBBEL_SANITIZE=ON -DQUOBBEL_WERROR=ON
cmake --build "$build" -j"$(nproc)"
(cd "$build" && "${xvfb[@]}" ctest --output-on-failure -j2 "$@")

# The replays need only the scene tests, with the game binary and the media they depend on.
cmake -S "$top" -B "$release" -DCMAKE_BUILD_TYPE=Release -DQUOBBEL_SANITIZE=OFF -DQUOBBEL_WERROR=ON
cmake --build "$release" -j"$(nproc)" --target test_scenes
(cd "$release" && "${xvfb[@]}" ctest --output-on-failure -j2 --no-tests=error -R '(^|/)(LevelRoutes|BossLevel|WholeGame)\.')
