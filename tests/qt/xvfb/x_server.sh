# Sourced by the tests under a real X server: `start_x_server SIZE TOOL...`
# skips the test (exit 77) when Xvfb, the window manager or a named tool is
# missing, makes the scratch folder $work, starts Xvfb with one screen of
# SIZE (such as 1366x768x24) and matchbox-window-manager, exports DISPLAY,
# and stops both and removes $work when the test ends. $pids lists the
# processes to stop; a test adds its own.
fail() { echo "FAILED: $*"; exit 1; }

start_x_server() {
    size=$1
    shift
    for tool in Xvfb matchbox-window-manager "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIPPED: $tool is not installed (scripts/setup.sh installs it)"
            exit 77
        fi
    done
    work=$(mktemp -d)
    pids=""
    trap cleanup EXIT
    trap 'exit 1' INT TERM
    # A free display number, chosen by the server itself.
    Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$work/display" 2>/dev/null &
    pids="$!"
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
    unset WAYLAND_DISPLAY
    matchbox-window-manager -use_titlebar no -use_cursor no 2>/dev/null &
    pids="$pids $!"
}

cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    for pid in $pids; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
