#!/usr/bin/env bash
# Installs what is missing, checks the install list against what the configure step loaded,
# builds everything with -Werror and runs the whole test suite.
#   scripts/test.sh [PRESET]   ci (the default), default, asan, tsan or clang-asan
# The CI run (no argument, or ci) then does the same in the clang-asan build: clang with ASan and
# UBSan, so code that only one of the two compilers accepts fails here, and the suite runs once
# under the sanitizers; then every fuzz target runs a few seconds from its seeds, with a fixed random
# seed and number of runs so that a tree's result does not change from run to run
# (scripts/fuzz.sh --ci). Each phase prints how long it took. The clang-asan suite leaves out what only
# waits out time-outs of the line on code the rest of it already runs (the fault soak, the long
# fault-injection rounds of vextorctl, the network bridge's event read) and the Debian package, so
# that the whole CI run stays within half an hour on two cores; the ci suite runs them.
set -euo pipefail
cd "$(dirname "$0")/.."

phase() {
  local name="$1" start=$SECONDS
  shift
  "$@"
  echo "test.sh: $name: $((SECONDS - start)) s" >&2
}

suite() {
  local preset="$1"
  phase "$preset: configure" cmake --preset "$preset" >/dev/null
  scripts/check-deps.sh "build/$preset/CMakeCache.txt"
  phase "$preset: build" cmake --build --preset "$preset"
  phase "$preset: tests" ctest --preset "$preset" -j2
}

phase "install-deps" scripts/install-deps.sh
preset="${1:-ci}"
suite "$preset"
if [ "$preset" = ci ]; then
  suite clang-asan
fi
if [ "$preset" = ci ] || [ "$preset" = clang-asan ]; then
  phase "fuzz" scripts/fuzz.sh --ci
fi
