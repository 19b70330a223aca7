#!/bin/sh
# Installs the Debian packages that TALVER needs, when they are missing. Runs
# apt-get as root, or through sudo.
#
#   scripts/setup.sh           what building and running the programs needs
#                              (the README's first command);
#   scripts/setup.sh --tests   that, and what the tests, the sanitizer and
#                              fuzz builds, the packages and the R package
#                              need (the README's test command and CI).
set -e
tests=no
if [ "$1" = "--tests" ]; then
    tests=yes
fi
# The compiler and CMake; CLI11 parses talver-batch's command line; Qt 6
# Widgets and Svg make the desktop program talver, and the fonts draw its
# texts; ReadStat reads the data files of SPSS (.sav, .zsav), Stata (.dta)
# and SAS (.sas7bdat); ccache spares rebuilds of unchanged sources
# (scripts/build.sh, R CMD check).
packages="cmake make g++ libcli11-dev qt6-base-dev qt6-svg-dev fonts-dejavu-core libreadstat-dev ccache"
r_packages=""
if [ "$tests" = yes ]; then
    # GoogleTest; the locales (a test checks that a comma-decimal locale
    # changes nothing in a report).
    packages="$packages libgtest-dev locales"
    # clang and its libFuzzer build and run the fuzz targets.
    packages="$packages clang libclang-rt-dev"
    # A real X server, a small window manager and synthetic input for the
    # test that drives the window as a user does (tests/qt/xvfb).
    packages="$packages xvfb matchbox-window-manager xdotool"
    # The Debian packages (scripts/package.sh, scripts/ci-package.sh):
    # help2man writes the manual pages, dpkg-dev's dpkg-shlibdeps finds the
    # Depends and dpkg-buildflags the hardening flags, and the rest check the
    # packages, manual pages, desktop entry and AppStream metainfo;
    # rsvg-convert renders the icon's sizes (scripts/render-icons.sh).
    packages="$packages help2man dpkg-dev fakeroot lintian man-db desktop-file-utils appstream librsvg2-bin"
    # The HTML report's tests: chromium renders the page, tidy checks its
    # HTML, xmllint (libxml2-utils) parses its charts, nlohmann-json3-dev
    # reads the JSON companion the page is compared with.
    packages="$packages chromium tidy libxml2-utils nlohmann-json3-dev"
    # poppler-utils' pdftotext reads back the page that Chromium printed to
    # PDF, so that the print test finds every column of the wide tables.
    packages="$packages poppler-utils"
    # R with Rcpp, jsonlite, testthat and knitr (the vignette) build, test
    # and check the R package talver (r/); codetools serves R CMD check.
    # Installed without their recommendations, which would bring pandoc and
    # LaTeX.
    r_packages="r-base-core r-base-dev r-cran-rcpp r-cran-jsonlite r-cran-testthat r-cran-knitr r-cran-codetools"
    # haven writes the SPSS, Stata and SAS files of the tests' fixtures and of
    # the statistics-file fuzz targets' seeds (tests/fuzz/make_statistics_seeds.R).
    r_packages="$r_packages r-cran-haven"
    # R CMD check --as-cran reads the package's shell scripts (configure,
    # cleanup) with devscripts' checkbashisms, and checks PDFs with qpdf.
    r_packages="$r_packages devscripts qpdf"
    # MinGW-w64's GCC compiles and links the R package's C++ sources for
    # Windows (scripts/check-r-package-mingw.sh), as Rtools' GCC does there.
    packages="$packages g++-mingw-w64-x86-64-posix"
    # The cross builds (scripts/cross-test.sh): talver-batch and the engine's
    # tests for Windows with MinGW-w64 (POSIX threads, for std::thread), run
    # under Wine; for 64-bit ARM, run under qemu-user; GoogleTest's sources
    # (googletest) compiled for each.
    packages="$packages wine wine64 g++-aarch64-linux-gnu qemu-user googletest"
    # The browser version (scripts/build-web.sh): Debian's Emscripten
    # compiles the engine to WebAssembly (its nodejs also runs the browser
    # tests in the chromium above).
    packages="$packages emscripten"
fi
missing_of() {
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            printf ' %s' "$package"
        fi
    done
}
missing=$(missing_of $packages)
r_missing=$(missing_of $r_packages)
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
if [ -n "$missing$r_missing" ]; then
    $sudo apt-get update -qq
fi
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
fi
if [ -n "$r_missing" ]; then
    echo "Installing:$r_missing"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $r_missing
fi
if [ "$tests" = yes ] && ! locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$'; then
    $sudo localedef -i de_DE -c -f UTF-8 de_DE.UTF-8 || echo "note: could not make the de_DE.UTF-8 locale; its test will be skipped"
fi
# The browser tests' driver (web/tests), playwright-core from the npm registry
# at the version package-lock.json pins; it drives Debian's chromium above and
# downloads no browser of its own. npm comes with the machine's Node.js, or
# from Debian.
if [ "$tests" = yes ] && ! command -v npm >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm
fi
if [ "$tests" = yes ] && [ ! -d "$(dirname "$0")/../web/tests/node_modules/playwright-core" ]; then
    (cd "$(dirname "$0")/../web/tests" && npm ci --no-audit --no-fund --ignore-scripts)
fi
