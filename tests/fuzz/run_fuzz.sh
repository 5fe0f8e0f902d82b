#!/bin/sh
# Runs one fuzz target: run_fuzz.sh TARGET WORK_CORPUS SEEDS OPTION...
# Each run starts from the checked-in SEEDS alone, so that it takes the same time
# however often it ran before; the inputs it finds go into WORK_CORPUS (in the
# build, emptied first). A failing input is written beside it as
# fuzz_NAME-crash-*, -leak-*, -timeout-* or -oom-*, and the run fails. The last
# lines say how many inputs ran.
set -eu
target=$1 work=$2 seeds=$3
shift 3
if [ ! -x "$target" ]; then
  echo "$target is missing: the fuzz build (scripts/fuzz, needs clang) did not make it" >&2
  exit 1
fi
rm -rf "$work"
mkdir -p "$work"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec "$target" -artifact_prefix="$work/../$(basename "$target")-" "$@" "$work" "$seeds"
