#!/usr/bin/env bash
# Builds what the benchmarks need and prints them side by side in one run (about two minutes after the build):
#   - the exchanges and long transfers at 9600 baud against their wire floors, and the Modbus
#     identification against its floor and against libmodbus's client on the same line (vextor-bench);
#   - the idle CPU of the linked demo (the desktop program with --demo, under Xvfb) and of the running
#     live monitor (vextorctl monitor against vextor-sim at 9600 baud), over the same 20 seconds;
#   - the largest resident memory of the demo over that time;
#   - the cold start of the desktop program to its first mapped window against the least Qt program
#     that shows one, empty and with one line of text, 16 runs each, timed from outside by the
#     display's map notification. They run in a message-bus session of their own (dbus-run-session,
#     package dbus-daemon) as on a desktop: without a bus, Qt's first accessibility query starts
#     dbus-launch and waits for it to fail, a cost no desktop has.
#   scripts/bench-report.sh [--preset NAME]     the CMake preset to build with (default: release)
# Timings follow the machine's load: the report prints the load average before and after.
set -euo pipefail
cd "$(dirname "$0")/.."

idle_seconds=20
settle_seconds=5
start_runs=16

if [ "${1:-}" = "--x-part" ]; then
  # Runs under the X server xvfb-run started: the idle CPU, the memory and the cold start.
  bin="$2"
  ticks=$(getconf CLK_TCK)
  cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
  pids=()
  trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done' EXIT

  "$bin/vextor-configurator" --demo >/dev/null 2>&1 &
  demo=$!
  pids+=("$demo")
  fifo="$TMPDIR/sim-port"
  mkfifo "$fifo"
  "$bin/vextor-sim" --wire-speed 9600 --event-interval 0 >"$fifo" 2>/dev/null &
  sim=$!
  pids+=("$sim")
  read -r _ port <"$fifo"
  "$bin/vextorctl" --port "$port" monitor >/dev/null 2>&1 &
  monitor=$!
  pids+=("$monitor")

  sleep "$settle_seconds"
  for p in "$demo" "$sim" "$monitor"; do
    kill -0 "$p" 2>/dev/null || { echo "bench-report: a program under test ended early" >&2; exit 1; }
  done
  d0=$(cpu_ticks "$demo") m0=$(cpu_ticks "$monitor") s0=$(cpu_ticks "$sim")
  sleep "$idle_seconds"
  d1=$(cpu_ticks "$demo") m1=$(cpu_ticks "$monitor") s1=$(cpu_ticks "$sim")
  rss=$(awk '/^VmHWM:/ { print $2 }' "/proc/$demo/status")
  percent() { awk -v t="$1" -v hz="$ticks" -v s="$idle_seconds" 'BEGIN { printf "%5.2f%%", 100 * t / hz / s }'; }
  echo "== Idle CPU over ${idle_seconds} s (after ${settle_seconds} s to settle)"
  printf '%-44s %s\n' "demo, linked (vextor-configurator --demo)" "$(percent $((d1 - d0)))"
  printf '%-44s %s\n' "live monitor (vextorctl monitor, 1 cycle/s)" "$(percent $((m1 - m0)))"
  printf '%-44s %s\n' "  its controller (vextor-sim, 9600 baud)" "$(percent $((s1 - s0)))"
  echo
  echo "== Memory"
  printf '%-44s %6.1f MB\n' "demo, largest resident set (VmHWM)" "$(awk -v k="$rss" 'BEGIN { print k / 1024 }')"
  for p in "$monitor" "$sim" "$demo"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  pids=()
  echo

  echo "== Cold start to the first mapped window, ${start_runs} runs each, medians (Xvfb)"
  [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || echo "(no message bus: dbus-run-session is missing, the times include dbus-launch)"
  "$bin/vextor-mapwatch" --runs "$start_runs" "$bin/vextor-minimal-window" :: "$bin/vextor-minimal-window" --text \
    :: "$bin/vextor-configurator" :: "$bin/vextor-configurator" --demo 2>/dev/null
  exit 0
fi

preset=release
if [ "${1:-}" = "--preset" ] && [ $# -eq 2 ]; then
  preset="$2"
elif [ $# -gt 0 ]; then
  echo "usage: $0 [--preset NAME]" >&2
  exit 2
fi
build="build/$preset"
for tool in xvfb-run Xvfb; do
  command -v "$tool" >/dev/null || { echo "bench-report: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

[ -f "$build/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null
targets=(vextor-bench vextor-sim vextorctl vextor-configurator vextor-minimal-window vextor-mapwatch)
if pkg-config --exists libmodbus; then
  targets+=(vextor-modbus-libmodbus)
fi
echo "Building ${targets[*]} in $build ..."
cmake --build "$build" --target "${targets[@]}" >/dev/null
bin="$(cd "$build/bin" && pwd)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The programs keep their settings and temporary files here, never in the user's.
export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" TMPDIR="$scratch/tmp"
mkdir -p "$XDG_CONFIG_HOME" "$TMPDIR"
mkdir -m 700 "$XDG_RUNTIME_DIR"

echo
echo "Vextor benchmark report, $(date '+%Y-%m-%d %H:%M'), $(nproc) cores, preset $preset"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "== Exchanges and transfers at 9600 baud against their floors"
"$bin/vextor-bench"
echo
session=()
if command -v dbus-run-session >/dev/null; then
  session=(dbus-run-session --)
fi
# The bus daemon's complaint that it may not raise its file limit is of no interest here.
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "${session[@]}" "$0" --x-part "$bin" \
  2> >(grep -v "Failed to set fd limit" >&2)
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
