#!/usr/bin/env bash
# Installs what is missing, checks the install list against what the configure step loaded,
# builds everything with -Werror and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
preset="${1:-ci}"
cmake --preset "$preset" >/dev/null
scripts/check-deps.sh "build/$preset/CMakeCache.txt"
cmake --build --preset "$preset"
ctest --preset "$preset" -j2
