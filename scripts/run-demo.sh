#!/usr/bin/env bash
# Installs what is missing, builds, starts the virtual controller and talks to it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
bin=build/release/bin
if [ -x "$bin/vextor-configurator" ]; then
  exec "$bin/vextor-configurator" --demo "$@"
fi
# Until the desktop program is there: the virtual controller and the command-line tool.
fifo=$(mktemp -u)
mkfifo "$fifo"
"$bin/vextor-sim" >"$fifo" &
sim=$!
trap 'kill $sim 2>/dev/null; rm -f "$fifo"' EXIT
read -r _ port <"$fifo"
"$bin/vextorctl" --port "$port" identify
