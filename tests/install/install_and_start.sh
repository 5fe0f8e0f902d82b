#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks what a desktop needs is
# there, and starts the installed simulator offscreen: it must come up and keep
# running, quietly, until it is closed.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/procesor bin/vondrel bin/plimo bin/sarvek bin/quobin bin/tamrelA bin/tamrelB; do
  [ -x "$prefix/$f" ] || { echo "missing or not executable: $f"; exit 1; }
done
desktop=$prefix/share/applications/procesor.desktop
[ -f "$desktop" ] || { echo "missing: the desktop entry"; exit 1; }
grep -q '^Exec=procesor$' "$desktop" || { echo "the desktop entry does not start procesor"; exit 1; }
grep -q '^Comment=Výukový' "$desktop" || { echo "the desktop entry has no Czech comment"; exit 1; }
[ -f "$prefix/share/icons/hicolor/scalable/apps/procesor.svg" ] || { echo "missing: the icon"; exit 1; }
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
[ -f "$prefix/share/doc/procesor/copyright" ] || { echo "missing: the licences"; exit 1; }
# --version answers without a display and names the licences.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/procesor" --version) ||
  { echo "procesor --version failed"; exit 1; }
for words in "Procesor 1" "GPLv3+" "LGPL-2.1+" "OFL 1.1"; do
  grep -qF "$words" <<<"$version" || { echo "procesor --version does not say $words:"; echo "$version"; exit 1; }
done

log=$prefix/start.log
# A desktop session provides a private runtime directory; without one Qt says so.
runtime=$prefix/runtime
mkdir -m 700 "$runtime"
set +e
(cd "$prefix" && XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/procesor" >"$log" 2>&1)
status=$?
set -e
if [ "$status" -ne 124 ]; then
  echo "the installed simulator ended by itself (status $status):"; cat "$log"; exit 1
fi
if [ -s "$log" ]; then
  echo "the installed simulator printed:"; cat "$log"; exit 1
fi
echo "installed and started: $(ls "$prefix/bin" | tr '\n' ' ')"
