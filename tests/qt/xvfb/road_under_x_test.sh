#!/bin/sh
# The road of one job on a real X server (Xvfb) with a window manager, driven
# by xdotool as a user drives it: keys for the commands and the dialogs,
# mouse clicks on the greyed commands and Escape while Compute runs. The
# report must equal talver-batch's, and nothing done during the run may act
# after it. Exit status 77 (skipped) when Xvfb, xdotool or the window manager
# is missing; scripts/setup.sh installs them.
#
# Usage: road_under_x_test.sh TALVER TALVER_BATCH LAYOUT_PROBE EXAMPLES_FOLDER
set -u
talver=$1 batch=$2 probe=$3 examples=$4
. "$(dirname "$0")/x_server.sh"
start_x_server 1280x1024x24 xdotool
unset QT_QPA_PLATFORM

cp "$examples/target.dat" "$examples/replica.dat" "$work/"
mkdir "$work/batch"
cp "$examples/target.dat" "$examples/replica.dat" "$work/batch/"
# The editor notes that it was started, and on which file.
printf '#!/bin/sh\necho "$1" > "%s/editor-saw"\n' "$work" > "$work/editor"
chmod +x "$work/editor"

layout=$("$probe" 2>/dev/null) || fail "the layout probe could not show the window"
at() { echo "$layout" | awk -v id="$1" '$1 == id { print $2, $3 }'; }
in_options() { echo "$layout" | awk -v id="$1" '$1 == "options" && $2 == id { print $3, $4 }'; }

cd "$work" || exit 1
TALVER_EDITOR="$work/editor" "$talver" 2>"$work/talver-errors" &
talver_pid=$!
pids="$talver_pid $pids"
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^TALVER$' | head -n 1)
[ -n "$main" ] || fail "the main window did not appear"
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"

# Clicks a command of the main window by its control id.
click() {
    set -- $(at "$1")
    xdotool mousemove --window "$main" "$1" "$2" click 1
}
# Waits until a window with this exact name is shown, and returns its id.
await() {
    timeout 20 xdotool search --sync --onlyvisible --name "$1" | tail -n 1
}
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
# Waits up to 20 s until `visible NAME` is COUNT; false if it never is.
await_count() {
    for _ in $(seq 200); do
        [ "$(visible "$1")" -eq "$2" ] && return 0
        sleep 0.1
    done
    return 1
}

# Read Sample Data: the dialog's defaults name the example files.
click 1000
sample=$(await '^Sample$')
[ -n "$sample" ] || fail "the Sample dialog did not open"
xdotool windowfocus --sync "$sample" key Return
await_count '^Sample$' 0 || fail "the Sample dialog did not close"
sleep 0.5
# Configure Analysis: polychoric correlations and 5000 samples, a run long
# enough to click into (about two seconds on two idle cores; 1000 samples
# ended before the clicks), the other defaults.
click 1001
await_count '^TALVER$' 2 || fail "the options dialog did not open"
sleep 0.3
options=$(xdotool search --onlyvisible --name '^TALVER$' | grep -v "^$main\$" | tail -n 1)
[ -n "$options" ] || fail "the options dialog did not open"
set -- $(in_options 1042)
xdotool mousemove --window "$options" "$1" "$2" click 1 key ctrl+a type 5000
set -- $(in_options 1051)
xdotool mousemove --window "$options" "$1" "$2" click 1
# The advice to analyse covariances (a message box captioned TALVER), then OK.
await_count '^TALVER$' 3 || fail "the advice to analyse covariances was not shown"
sleep 0.3
xdotool key Return
await_count '^TALVER$' 2 || fail "the advice did not close"
sleep 0.3
xdotool key Return
# OK tells that more than 1000 samples take a while (another message box).
await_count '^TALVER$' 3 || fail "the note on a long bootstrap was not shown"
sleep 0.3
xdotool key Return
await_count '^TALVER$' 1 || fail "the options dialog did not close"
sleep 0.3

# Compute, and while it runs: clicks on the greyed commands, Escape.
click 1003
sleep 0.3
click 1001
click 1002
xdotool key Escape
[ -e "$work/editor-saw" ] && fail "the run ended before the clicks: it was too short to test them"
for _ in $(seq 600); do [ -e "$work/editor-saw" ] && break; sleep 0.1; done
[ -e "$work/editor-saw" ] || fail "the run did not end within a minute"
sleep 1
kill -0 "$talver_pid" 2>/dev/null || fail "talver ended: input made during the run acted after it"
[ "$(visible '^TALVER$')" -eq 1 ] || fail "a dialog opened after the run"
[ "$(visible 'About TALVER')" -eq 0 ] || fail "the About box opened after the run"
[ "$(cat "$work/editor-saw")" = "$work/output.txt" ] || fail "the editor got $(cat "$work/editor-saw")"

(cd "$work/batch" && LC_ALL=C "$batch" --dispersion polychoric --samples 5000 --output output.txt 2>/dev/null) || fail "talver-batch failed"
without_clock() { grep -v -e '^ *Date: ' -e '^ *Time: ' -e '^Computing time: ' "$1"; }
without_clock "$work/output.txt" > "$work/window.txt"
without_clock "$work/batch/output.txt" > "$work/batch.txt"
cmp -s "$work/window.txt" "$work/batch.txt" || fail "the window's report differs from talver-batch's"

# The results are shown beside the window after the run; Escape closes them.
results=$(await '^TALVER: results$') || fail "the results were not shown after the run"
xdotool windowactivate --sync "$results" 2>/dev/null || xdotool windowfocus --sync "$results"
xdotool key Escape
await_count '^TALVER: results$' 0 || fail "Escape did not close the results"

# Exit ends the program. After a run the window shows more rows (the
# outputs and their buttons), so the probe's place of Exit no longer holds:
# its key, Alt+X, presses it.
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
xdotool key alt+x
for _ in $(seq 50); do kill -0 "$talver_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$talver_pid" 2>/dev/null && fail "Exit did not end talver"
echo "PASSED: the road of one job under X, input during the run dropped, report equal to talver-batch's"
