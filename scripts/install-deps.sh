#!/usr/bin/env bash
# Installs the Debian packages the configurator needs, only when some are missing.
#   --list   print the package names, one a line, and install nothing
# scripts/check-deps.sh holds this list against what a configured build really loaded, so a
# machine that happens to have a package installed cannot hide a missing entry.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  clang                 # the second compiler of the CI run; it builds against GCC's libstdc++
  libclang-rt-dev       # clang's ASan, UBSan and libFuzzer runtimes, for the CI's clang-asan build
  qt6-base-dev libqt6opengl6-dev qt6-charts-dev libgl-dev
  qt6-translations-l10n
  libgtest-dev libgmock-dev
  libmodbus-dev
  xvfb xauth
  clang-format
  python3
)
if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi
if [ $# -gt 0 ]; then
  echo "usage: $0 [--list]" >&2
  exit 2
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
