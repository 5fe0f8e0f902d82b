#!/usr/bin/env bash
# Builds the .deb and checks that it carries the simulator, its companions, the
# desktop entry, the AppStream metadata, the licences and a change log, and depends
# on the Qt 6 runtime but on no font package (the program draws with its own
# built-in glyphs); then lets lintian check it as Debian would: no error, its
# warnings listed.
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
for f in ./usr/bin/procesor ./usr/bin/vondrel ./usr/bin/tamrelB ./usr/share/applications/procesor.desktop \
         ./usr/share/metainfo/io.github.procesor.metainfo.xml ./usr/share/doc/procesor/copyright \
         ./usr/share/doc/procesor/changelog.gz; do
  grep -q " $f\$" <<<"$contents" || { echo "the package lacks $f"; exit 1; }
done
echo "built $(basename "$deb")"

command -v lintian >/dev/null || { echo "lintian is missing: run scripts/deps --test"; exit 1; }
set +e
report=$(lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1)
status=$?
set -e
echo "${report:-lintian: nothing to report}"
if [ "$status" -ne 0 ] || grep -q '^E: ' <<<"$report"; then
  echo "lintian found errors in the package"; exit 1
fi
