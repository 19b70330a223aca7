#!/bin/sh
# Installs the Debian packages that building and testing TALVER need, when
# they are missing. Runs apt-get as root, or through sudo.
set -e
# Qt 6 Widgets and Svg for the desktop program talver; the fonts draw its
# texts on the offscreen platform of the tests and screenshots.
packages="cmake make g++ libgtest-dev libcli11-dev locales qt6-base-dev qt6-svg-dev fonts-dejavu-core"
# clang and its libFuzzer build and run the fuzz targets.
packages="$packages clang libclang-rt-dev"
# The HTML report's tests: chromium renders the page, tidy checks its HTML,
# xmllint (libxml2-utils) parses its charts, nlohmann-json3-dev reads the JSON
# companion the page is compared with. Qt's SvgWidgets (in qt6-svg-dev) draw
# the charts in the window.
packages="$packages chromium tidy libxml2-utils nlohmann-json3-dev"
missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
fi
# The tests check that a comma-decimal locale changes nothing in a report.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$'; then
    $sudo localedef -i de_DE -c -f UTF-8 de_DE.UTF-8 || echo "note: could not make the de_DE.UTF-8 locale; its test will be skipped"
fi
