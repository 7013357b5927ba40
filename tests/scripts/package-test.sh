#!/usr/bin/env bash
# cpack -G DEB builds a package that holds the three programs, the menu entry and the icon, and
# declares the libraries the desktop program loads.
#   package-test.sh BUILD_DIR
set -euo pipefail
build="$1"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null)
deb=("$out"/vextor-configurator_*.deb)
[ -f "${deb[0]}" ] || { echo "no package built in $out"; exit 1; }
contents="$(dpkg-deb -c "${deb[0]}")"
for f in ./usr/bin/vextor-configurator ./usr/bin/vextorctl ./usr/bin/vextor-sim \
         ./usr/share/applications/vextor-configurator.desktop \
         ./usr/share/icons/hicolor/scalable/apps/vextor-configurator.svg; do
  grep -q " $f\$" <<<"$contents" || { echo "missing from the package: $f"; exit 1; }
done
depends="$(dpkg-deb -f "${deb[0]}" Depends)"
for lib in libqt6core6 libqt6widgets6 libqt6charts6 libqt6gui6 qt6-translations-l10n; do
  grep -q "$lib" <<<"$depends" || { echo "Depends lacks $lib: $depends"; exit 1; }
done
# The menu entry starts the installed program under the icon the package brings.
desktop="$(dpkg-deb --fsys-tarfile "${deb[0]}" | tar -xO ./usr/share/applications/vextor-configurator.desktop)"
grep -qx 'Exec=vextor-configurator' <<<"$desktop"
grep -qx 'Icon=vextor-configurator' <<<"$desktop"
echo "ok: ${deb[0]##*/}"
