#!/usr/bin/env bash
# Installs what is missing, checks the install list against what the configure step loaded,
# builds everything with -Werror and runs the whole test suite.
#   scripts/test.sh [PRESET]   ci (the default), default, asan or tsan
# The CI run (no argument, or ci) then also builds everything with clang (the clang-release
# preset, no tests): code that only one of the two compilers accepts fails here, not on a
# developer's machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
preset="${1:-ci}"
cmake --preset "$preset" >/dev/null
scripts/check-deps.sh "build/$preset/CMakeCache.txt"
cmake --build --preset "$preset"
ctest --preset "$preset" -j2
if [ "$preset" = ci ]; then
  cmake --preset clang-release >/dev/null
  cmake --build --preset clang-release
fi
