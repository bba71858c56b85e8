#!/usr/bin/env bash
# Formats every C++ file of the project in place with the project's clang-format settings.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'tools/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' | xargs -r clang-format -i
