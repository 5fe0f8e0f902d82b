#!/usr/bin/env bash
# The window against a bare Qt window of the same size with 300 labels (the floor),
# under a virtual X display. Runs are interleaved, window then floor, and each
# figure is the median of the runs. Both programs are started as a user starts
# them (the simulator is build/procesor itself) and timed from the outside by
# first_frame, the same way:
#
#   mapped      from just before the start until the window is mapped
#   start       until the window's whole area has been painted on the X server
#   memory      resident set and proportional set size 1 s after that, idle
#   instructions  (with valgrind) instructions executed by the program, from its
#               first instruction until its window is mapped, and until its whole
#               first frame is on the server; unlike the wall times, not disturbed
#               by a busy machine
#   idle CPU    CPU time used over IDLE_SECONDS with nothing running, and the
#               wake-ups (context switches of all threads) in that time
#   pulse       one clock pulse with the repaint of what changed, flushed
#               (floor: 20 labels re-captioned and repainted)
#
#   bench/window_bench.sh [BUILD_DIR]      RUNS=7 IDLE_SECONDS=10 by default
#
# Needs Xvfb and xdotool (scripts/deps --test) and a build with the bench targets;
# the instructions need valgrind (left out without it).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${RUNS:-7}
idle=${IDLE_SECONDS:-10}

for t in Xvfb xdotool; do
  command -v "$t" >/dev/null || { echo "window_bench: $t is missing (scripts/deps --test)" >&2; exit 2; }
done
app=$build/procesor
floor=$build/bench/bench_floor
timer=$build/bench/bench_first_frame
for f in "$app" "$timer" "$build/bench/bench_pulse_window" "$floor"; do
  [ -x "$f" ] || { echo "window_bench: $f is not built (cmake --build $build)" >&2; exit 2; }
done

log=$(mktemp)
# -noreset: a server that resets whenever its last client leaves refuses the
# programs started in that moment.
n=90; while [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 & xpid=$!
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; kill "$xpid" 2>/dev/null; rm -f "$log"; }
trap cleanup EXIT
for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.05; done
export DISPLAY=:$n
unset QT_QPA_PLATFORM QT_SCALE_FACTOR

clk=$(getconf CLK_TCK)
declare -A figures

# Start and memory of one program: adds its map, frame, rss and pss figures.
start_figures() {
  local name=$1 out; shift
  out=$("$timer" "$@" 2>"$log") || { echo "window_bench: $1:" >&2; cat "$log" >&2; exit 1; }
  for field in map frame rss pss; do
    [[ "$out" =~ $field=([0-9]+) ]] || { echo "window_bench: $1: no $field in '$out'" >&2; exit 1; }
    add "$field.$name" "${BASH_REMATCH[1]}"
  done
}

# Instructions until the whole first frame is on the server (or, with
# --until-mapped first, until the window is mapped), under callgrind. Qt forks a
# helper that ends at once (a session bus lookup); each process writes its own
# file, and the program's own is the largest.
instructions() {
  local out=$1 until=; shift
  if [ "$1" = --until-mapped ]; then until=$1; shift; fi
  "$timer" --settle 0 $until valgrind --tool=callgrind --callgrind-out-file="$out.%p" "$@" >/dev/null 2>"$log" ||
    { echo "window_bench: callgrind $1:" >&2; cat "$log" >&2; exit 1; }
  cat "$out".* | awk '/^summary:/ && $2 > max { max = $2 } END { print max + 0 }'
}

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { s += $2 } END { print s + 0 }'
}

# Sets cpu (per mille over the idle time) and wake (context switches of all
# threads over the idle time) for a program whose window has the given title.
idle_figures() {
  local title=$1; shift
  "$@" >/dev/null 2>"$log" & pid=$!
  local win= waited=0
  while [ -z "$win" ]; do
    kill -0 "$pid" 2>/dev/null || { echo "window_bench: $1 ended before its window appeared:" >&2; cat "$log" >&2; exit 1; }
    [ "$waited" -lt 600 ] || { echo "window_bench: no window '$title' appeared in 30 s" >&2; exit 1; }
    win=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)
    [ -n "$win" ] || { sleep 0.05; waited=$((waited + 1)); }
  done
  sleep 1
  local c0 c1 w0 w1
  c0=$(cpu_ticks "$pid"); w0=$(switches "$pid")
  sleep "$idle"
  c1=$(cpu_ticks "$pid"); w1=$(switches "$pid")
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=
  cpu=$(((c1 - c0) * 1000 * 1000 / clk / idle / 1000))
  wake=$((w1 - w0))
}

add() { figures[$1]="${figures[$1]:-} $2"; }

for run in $(seq "$runs"); do
  echo "run $run of $runs" >&2
  start_figures window "$app"
  start_figures floor "$floor"
  idle_figures Procesor "$app"
  add cpu.window "$cpu"; add wake.window "$wake"
  idle_figures Floor "$floor"
  add cpu.floor "$cpu"; add wake.floor "$wake"
  out=$("$build/bench/bench_pulse_window" 2>"$log") || { cat "$log" >&2; exit 1; }
  read -r pulse full <<<"$out"
  add pulse.window "$pulse"; add full.window "$full"
  out=$("$build/bench/bench_floor" --pulse 2>"$log") || { cat "$log" >&2; exit 1; }
  add pulse.floor "$out"
done

median() { tr ' ' '\n' <<<"${figures[$1]}" | grep -v '^$' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print "-"; else printf "%.2f", a / b }'; }

row() { # label, key, unit, scale
  local w f
  w=$(median "$2.window"); f=$(median "$2.floor")
  printf '%-42s %12s %12s %8s\n' "$1" \
    "$(awk -v v="$w" -v s="$4" 'BEGIN { printf "%.2f", v / s }') $3" \
    "$(awk -v v="$f" -v s="$4" 'BEGIN { printf "%.2f", v / s }') $3" "$(ratio "$w" "$f")"
}

echo
echo "Window vs. floor (bare Qt window, 300 labels); medians of $runs interleaved runs, Xvfb"
printf '%-42s %12s %12s %8s\n' "" "window" "floor" "ratio"
row "start to window mapped" map ms 1000
row "start to whole first frame on the server" frame ms 1000
row "resident memory (RSS), idle" rss MiB 1024
row "proportional memory (PSS), idle" pss MiB 1024
row "CPU over ${idle} s idle" cpu % 10
row "wake-ups over ${idle} s idle" wake "" 1
row "clock pulse + repaint (floor: 20 labels)" pulse µs 1
printf '%-42s %12s\n' "full repaint of the window" "$(median full.window) µs"
if command -v valgrind >/dev/null; then
  cg=$(mktemp -d)
  millions() { awk -v v="$1" 'BEGIN { printf "%.1f", v / 1e6 }'; }
  w=$(instructions "$cg/window-map" --until-mapped "$app")
  f=$(instructions "$cg/floor-map" --until-mapped "$floor")
  printf '%-42s %12s %12s %8s\n' "instructions to window mapped (M)" \
    "$(millions "$w")" "$(millions "$f")" "$(ratio "$w" "$f")"
  w=$(instructions "$cg/window" "$app"); f=$(instructions "$cg/floor" "$floor")
  printf '%-42s %12s %12s %8s\n' "instructions to whole first frame (M)" \
    "$(millions "$w")" "$(millions "$f")" "$(ratio "$w" "$f")"
  rm -rf "$cg"
fi
echo "Raw runs:"
for k in map.window map.floor frame.window frame.floor rss.window rss.floor pss.window pss.floor cpu.window cpu.floor wake.window wake.floor pulse.window pulse.floor full.window; do
  printf '  %-13s%s\n' "$k" "${figures[$k]}"
done
