#!/usr/bin/env bash
# Runs every fuzz target in turn, in the clang-asan build (ASan + UBSan), starting from seeds
# written fresh from the test fixtures and from the inputs of faults found before
# (fuzz/regressions/<target>).
#   scripts/fuzz.sh [SECONDS]   each target for SECONDS (default 600), from random starting points
#   scripts/fuzz.sh --ci        each target for a fixed number of runs from a fixed random seed and
#                               its seeds alone, so that the same tree always gives the same result
# What a timed run finds is kept in build/clang-asan/fuzz/corpus/<target> and grows from run to run.
# A fault fails the script once every target has run; the input that shows it is
# build/clang-asan/fuzz/crash-* (or leak-*, timeout-*), and `build/clang-asan/bin/fuzz_<target> FILE`
# runs it again.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
repeatable=false
case "$seconds" in
--ci) repeatable=true ;;
'' | *[!0-9]*)
  echo "usage: $0 [SECONDS | --ci]" >&2
  exit 2
  ;;
esac

# Runs of each target in the repeatable run: about two seconds of each on this project's two-core
# machine, where the targets' speeds differ by a thousand times.
ci_runs() {
  case "$1" in
  modbus_reply) echo 250000 ;;
  zarnet_replies) echo 200000 ;;
  colors_ini) echo 6000 ;;
  form_ini) echo 3500 ;;
  channel_records) echo 8000 ;;
  event_file) echo 1000 ;;
  project_file) echo 600 ;;
  *) echo 300 ;;
  esac
}
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
  log="$work/$name.log"
  dirs=("$work/seeds/$name")
  [ -d "fuzz/regressions/$name" ] && dirs+=("fuzz/regressions/$name")
  if $repeatable; then
    # A corpus of its own each time (the first directory is where new finds go), so what earlier
    # runs found does not change the result.
    corpus="$work/ci-corpus/$name"
    rm -rf "$corpus"
    mkdir -p "$corpus"
    limit=(-seed=1 -runs="$(ci_runs "$name")")
  else
    corpus="$work/corpus/$name"
    mkdir -p "$corpus"
    limit=(-max_total_time="$seconds")
  fi
  start=$SECONDS
  if "$target" "${limit[@]}" -print_final_stats=1 -artifact_prefix="$work/" \
    "$corpus" "${dirs[@]}" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $name: $runs runs in $((SECONDS - start)) s, no fault"
  else
    echo "fuzz: $name: FAULT (log $log)" >&2
    grep -E -A30 "ERROR: |invariant broken|runtime error" "$log" | head -60 >&2 || tail -40 "$log" >&2
    status=1
  fi
done
exit $status
