#!/usr/bin/env bash
# Runs one of the validators Linux desktops and Debian hold the menu entry and the
# AppStream metadata to, and fails on anything it reports, saying so.
#   validate.sh desktop-file-validate assets/procesor.desktop
#   validate.sh appstreamcli validate --no-net assets/io.github.procesor.metainfo.xml
set -uo pipefail
tool=$1
shift
command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/deps --test"; exit 1; }
out=$("$tool" "$@" 2>&1)
status=$?
echo "$out"
[ "$status" -eq 0 ] || { echo "$tool failed (status $status)"; exit 1; }
# desktop-file-validate reports hints and warnings with status 0: they count too.
if [ "$tool" = desktop-file-validate ] && [ -n "$out" ]; then exit 1; fi
exit 0
