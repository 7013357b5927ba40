#!/usr/bin/env bash
# The fault soak against vextor-sim: configuration read and write, the event read and 100 ticks of
# the task loop with the live monitor, each over SEEDS seeds (default 20) of lost, corrupted, cut
# and wrongly addressed replies. Prints one row per operation: exact results, clean failures and
# WRONG ones (a crash, a hang or a success with wrong data), which must be 0.
#   scripts/soak.sh [SEEDS] [FIRST_SEED]
# Builds what it needs in build/ci (configure it first: cmake --preset ci). The four operations run
# two at a time; a run of 20 seeds takes about a quarter of an hour.
set -euo pipefail
cd "$(dirname "$0")/.."
seeds="${1:-20}"
first="${2:-1}"
build=build/ci
cmake --build "$build" --target soak_tests vextorctl vextor-sim -j2 >/dev/null
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
status=0
run() {
  VEXTOR_SOAK_SEEDS="$seeds" VEXTOR_SOAK_FIRST="$first" "$build/bin/soak_tests" --gtest_filter="Soak.$1" \
    >"$out/$1.log" 2>&1
}
pids=()
for op in ConfigurationRead EventRead ConfigurationWrite TaskTicks; do
  run "$op" &
  pids+=($!)
  # Two at a time: the runs mostly wait on read time-outs, but the machine may be shared.
  if [ "${#pids[@]}" -ge 2 ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
echo "seeds $first..$((first + seeds - 1)) per operation"
for op in ConfigurationRead ConfigurationWrite EventRead TaskTicks; do
  grep -h '^SOAK' "$out/$op.log" | sed 's/^SOAK //' || { echo "| $op: no result"; status=1; }
done
if [ "$status" -ne 0 ]; then
  echo "failures:"
  grep -h -B1 -A3 'Failure' "$out"/*.log || true
fi
exit "$status"
