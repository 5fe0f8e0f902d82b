#!/usr/bin/env bash
# Builds the .deb and checks that it carries the simulator, its companions and
# the desktop entry, and depends on the Qt 6 runtime but on no font package: the
# program draws with its own built-in glyphs.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in libqt6widgets6 qt6-qpa-plugins; do
  [[ $depends == *"$p"* ]] || { echo "the package does not depend on $p"; exit 1; }
done
[[ $depends != *fonts-* ]] || { echo "the package depends on a font package"; exit 1; }
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/procesor ./usr/bin/vondrel ./usr/bin/tamrelB ./usr/share/applications/procesor.desktop; do
  grep -q " $f\$" <<<"$contents" || { echo "the package lacks $f"; exit 1; }
done
echo "built $(basename "$deb")"
