#!/bin/sh
# Runs window tests on a real X server (Xvfb) of a common laptop's size,
# 1366 x 768, with a window manager, so that window frames and the screen's
# free area are those a user has. Exit status 77 (skipped) when Xvfb or the
# window manager is missing; scripts/setup.sh installs them.
#
# Usage: on_laptop_screen_test.sh TEST_PROGRAM GTEST_FILTER
set -u
program=$1 filter=$2
for tool in Xvfb matchbox-window-manager; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (scripts/setup.sh installs it)"
        exit 77
    fi
done
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    for pid in $pids; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# A free display number, chosen by the server itself.
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids="$!"
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then
    echo "FAILED: Xvfb did not start"
    exit 1
fi
DISPLAY=:$(cat "$work/display")
export DISPLAY
unset WAYLAND_DISPLAY
matchbox-window-manager -use_titlebar no -use_cursor no 2>/dev/null &
pids="$pids $!"
QT_QPA_PLATFORM=xcb "$program" --gtest_filter="$filter"
