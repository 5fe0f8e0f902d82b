#!/usr/bin/env bash
# clang-tidy over every source of the program and its companions, with the check
# set of .clang-tidy; any finding fails.
set -uo pipefail
build=$1
cd "$(dirname "$0")/.."
tidy=$(command -v clang-tidy || command -v clang-tidy-14) || { echo "clang-tidy is not installed"; exit 1; }
mapfile -t sources < <(find model panel picture screen display companions assets -name '*.cpp' | sort)
out=$(printf '%s\n' "${sources[@]}" | xargs -P 2 -n 4 "$tidy" -p "$build" --quiet 2>&1)
status=$?
grep -v 'warnings generated' <<<"$out"
[ "$status" -eq 0 ] || { echo "clang-tidy found problems"; exit 1; }
echo "clang-tidy: ${#sources[@]} files clean"
