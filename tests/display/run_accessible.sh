#!/usr/bin/env bash
# Runs test_window_accessible.py against the real window: a private X display, a
# session bus of its own (the accessibility bus and its registry start from it on
# demand) and Qt's accessibility switched on.
#
#   run_accessible.sh BUILD/procesor
#
# Exits with 77 (the test skipped) only when there is no bus to start at all.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
for t in Xvfb dbus-run-session; do
  command -v "$t" >/dev/null || { echo "skipped: $t is missing (scripts/deps --test)"; exit 77; }
done
dbus-run-session -- true 2>/dev/null || { echo "skipped: no session bus can start"; exit 77; }
[ -x /usr/libexec/at-spi-bus-launcher ] ||
  { echo "skipped: at-spi2-core is missing (scripts/deps --test)"; exit 77; }
n=120; while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & xpid=$!
trap 'kill $xpid 2>/dev/null || true' EXIT
for _ in $(seq 200); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.05; done
[ -e /tmp/.X11-unix/X$n ] || { echo "skipped: no X display could start"; exit 77; }
export DISPLAY=:$n QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
export XDG_RUNTIME_DIR=$(mktemp -d)
trap 'kill $xpid 2>/dev/null || true; rm -rf "$XDG_RUNTIME_DIR"' EXIT
# Debian's own Python, which has the AT-SPI bindings (python3-pyatspi).
dbus-run-session -- /usr/bin/python3 "$here/test_window_accessible.py" "$bin" 2>&1 |
  grep -v -e 'Failed to set fd limit' -e "Activating service name=" -e 'Successfully activated' \
    -e 'SpiRegistry daemon is running'
exit "${PIPESTATUS[0]}"
