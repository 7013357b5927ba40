#!/usr/bin/env bash
# Checks the install list against what a configured build really loaded: every Debian package
# that owns a CMake package configuration file named by the cache's *_DIR entries must be in the
# list or a hard dependency (Depends, Pre-Depends, followed all the way down) of a listed package.
#   scripts/check-deps.sh CMAKE_CACHE [LIST_FILE]
# LIST_FILE holds package names one a line; without it the list of scripts/install-deps.sh is used.
# Exits 1 naming each missing package, 2 on bad usage.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cache="${1:-}"
if [ -z "$cache" ] || [ ! -f "$cache" ] || [ $# -gt 2 ]; then
  echo "usage: $0 CMAKE_CACHE [LIST_FILE]" >&2
  exit 2
fi
if [ $# -eq 2 ]; then
  listed=$(grep -v '^[[:space:]]*\(#\|$\)' "$2" | tr -d '[:blank:]')
else
  listed=$("$here/install-deps.sh" --list)
fi
build_dir="$(cd "$(dirname "$cache")" && pwd)"

# The configuration files the build loaded.
configs=()
while IFS= read -r dir; do
  [ -d "$dir" ] || continue
  case "$(cd "$dir" && pwd)/" in "$build_dir"/*) continue ;; esac
  for f in "$dir"/*Config.cmake "$dir"/*-config.cmake; do
    [ -f "$f" ] && configs+=("$f")
  done
done < <(sed -n 's/^[A-Za-z0-9_]*_DIR:[A-Z]*=\(\/.*\)$/\1/p' "$cache")
if [ ${#configs[@]} -eq 0 ]; then
  echo "check-deps: $cache names no CMake package configuration files" >&2
  exit 1
fi

# The listed packages and everything they hard-depend on.
# shellcheck disable=SC2086
covered=$( (printf '%s\n' $listed
  apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances $listed 2>/dev/null | grep -v '^[[:space:]<]') |
  sed 's/:[a-z0-9]*$//' | sort -u)

# One dpkg query for all of them: each answer line is "owner[, owner...]: path".
owned=$(dpkg -S "${configs[@]}" 2>/dev/null || true)
status=0
for f in "${configs[@]}"; do
  owners=$(grep -F ": $f" <<<"$owned" | awk -v f="$f" 'index($0, ": " f) + length(f) + 1 == length($0) { print substr($0, 1, length($0) - length(f) - 2) }' | head -n1)
  if [ -z "$owners" ]; then
    echo "check-deps: $f belongs to no Debian package, so no install list can provide it" >&2
    status=1
    continue
  fi
  found=""
  for o in ${owners//,/ }; do
    o="${o%%:*}"
    if grep -qxF "$o" <<<"$covered"; then found="$o"; break; fi
  done
  if [ -z "$found" ]; then
    first="${owners%%,*}"
    echo "check-deps: missing from the install list: ${first%%:*} (owns $f)" >&2
    status=1
  fi
done
if [ $status -eq 0 ]; then
  echo "check-deps: the install list covers the ${#configs[@]} package configuration files the build loaded"
fi
exit $status
