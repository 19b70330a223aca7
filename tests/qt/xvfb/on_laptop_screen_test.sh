#!/bin/sh
# Runs window tests on a real X server (Xvfb) of a common laptop's size,
# 1366 x 768, with a window manager, so that window frames and the screen's
# free area are those a user has. Exit status 77 (skipped) when Xvfb or the
# window manager is missing; scripts/setup.sh installs them.
#
# Usage: on_laptop_screen_test.sh TEST_PROGRAM GTEST_FILTER
set -u
program=$1 filter=$2
. "$(dirname "$0")/x_server.sh"
start_x_server 1366x768x24
QT_QPA_PLATFORM=xcb "$program" --gtest_filter="$filter"
