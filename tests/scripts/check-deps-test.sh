#!/usr/bin/env bash
# check-deps.sh against a cache that loaded Qt's OpenGL module and GoogleTest: a list without the
# OpenGL development package fails naming it; with it the same cache passes.
#   check-deps-test.sh CHECK_DEPS QT6OPENGL_DIR GTEST_DIR
set -uo pipefail
check="$1" opengl_dir="$2" gtest_dir="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/build"
printf 'Qt6OpenGL_DIR:PATH=%s\nGTest_DIR:PATH=%s\nCMAKE_FIND_PACKAGE_REDIRECTS_DIR:STATIC=%s\n' \
  "$opengl_dir" "$gtest_dir" "$work/build" >"$work/build/CMakeCache.txt"
printf 'libgtest-dev\n' >"$work/short.txt"
printf 'libgtest-dev\nlibqt6opengl6-dev\n' >"$work/full.txt"

fails=0
"$check" "$work/build/CMakeCache.txt" "$work/short.txt" >"$work/out" 2>&1
rc=$?
if [ $rc -ne 1 ] || ! grep -q 'missing from the install list: libqt6opengl6-dev' "$work/out" ||
  grep -q 'libgtest-dev' "$work/out"; then
  echo "without libqt6opengl6-dev: expected exit 1 naming it alone, got $rc:"; cat "$work/out"
  fails=1
fi
"$check" "$work/build/CMakeCache.txt" "$work/full.txt" >"$work/out" 2>&1
rc=$?
if [ $rc -ne 0 ]; then
  echo "with libqt6opengl6-dev: expected exit 0, got $rc:"; cat "$work/out"
  fails=1
fi
exit $fails
