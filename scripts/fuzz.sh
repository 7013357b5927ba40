#!/usr/bin/env bash
# Runs every fuzz target in turn for SECONDS each (default 600), in the clang-asan build (ASan +
# UBSan), starting from seeds written fresh from the test fixtures.
#   scripts/fuzz.sh [SECONDS]
# What a run finds is kept in build/clang-asan/fuzz/corpus/<target> and grows from run to run. A
# fault fails the script once every target has run; the input that shows it is
# build/clang-asan/fuzz/crash-* (or leak-*, timeout-*), and `build/clang-asan/bin/fuzz_<target> FILE`
# runs it again.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
case "$seconds" in '' | *[!0-9]*)
  echo "usage: $0 [SECONDS]" >&2
  exit 2
  ;;
esac
build=build/clang-asan
[ -f "$build/CMakeCache.txt" ] || cmake --preset clang-asan >/dev/null
cmake --build "$build" --target fuzzers >/dev/null
work="$build/fuzz"
rm -rf "$work/seeds"
"$build/bin/vextor-fuzz-seeds" tests/fixtures "$work/seeds" >/dev/null
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
status=0
for target in "$build"/bin/fuzz_*; do
  name="${target##*/fuzz_}"
  mkdir -p "$work/corpus/$name"
  log="$work/$name.log"
  if "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/" \
    "$work/corpus/$name" "$work/seeds/$name" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $name: $runs runs in ${seconds} s, no fault"
  else
    echo "fuzz: $name: FAULT (log $log)" >&2
    grep -E -A30 "ERROR: |invariant broken|runtime error" "$log" | head -60 >&2 || tail -40 "$log" >&2
    status=1
  fi
done
exit $status
