#!/bin/sh
# Continuous integration of the Debian packages, after the tests: builds them
# from the release build in build/ (scripts/package.sh, which runs lintian),
# checks what they hold, unpacks them into a scratch root, and runs the
# installed programs there: talver-batch on the installed example data must
# write the report the build folder's talver-batch writes, clock lines aside.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
"$top/scripts/package.sh" "$build" >/dev/null
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() {
    echo "ci-package: $*" >&2
    exit 1
}

batch_deb=$(ls "$build"/packages/talver-batch_*.deb)
window_deb=$(ls "$build"/packages/talver_*.deb)
# What each package must hold.
dpkg-deb -c "$batch_deb" >"$root/batch.list"
dpkg-deb -c "$window_deb" >"$root/window.list"
for file in usr/bin/talver-batch usr/share/man/man1/talver-batch.1.gz \
    usr/share/doc/talver-batch/examples/target.dat usr/share/doc/talver-batch/examples/replica.dat \
    usr/share/doc/talver-batch/examples/groups.csv \
    usr/share/doc/talver-batch/getting-started.txt usr/share/doc/talver-batch/copyright; do
    grep -q " \./$file\$" "$root/batch.list" || fail "talver-batch lacks /$file"
done
for file in usr/bin/talver usr/share/man/man1/talver.1.gz \
    usr/share/applications/edu.aldmoor.talver.desktop usr/share/metainfo/edu.aldmoor.talver.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/talver.svg usr/share/icons/hicolor/48x48/apps/talver.png \
    usr/share/doc/talver/copyright; do
    grep -q " \./$file\$" "$root/window.list" || fail "talver lacks /$file"
done
# Each package keeps its documents in the folder of its own name.
if grep -q " \./usr/share/doc/talver/" "$root/batch.list"; then
    fail "talver-batch installs into /usr/share/doc/talver/, the folder of the package talver"
fi
if grep -q " \./usr/share/doc/talver-batch/" "$root/window.list"; then
    fail "talver installs into /usr/share/doc/talver-batch/"
fi
# Servers install talver-batch without Qt.
if dpkg-deb -f "$batch_deb" Depends | grep -qi qt; then
    fail "talver-batch depends on Qt: $(dpkg-deb -f "$batch_deb" Depends)"
fi
dpkg-deb -f "$window_deb" Depends | grep -q "talver-batch" || fail "talver does not depend on talver-batch"

dpkg -x "$batch_deb" "$root"
dpkg -x "$window_deb" "$root"
desktop-file-validate "$root/usr/share/applications/edu.aldmoor.talver.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/edu.aldmoor.talver.metainfo.xml" >/dev/null
for page in talver talver-batch; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "manual page $page(1): $warnings"
done

# The installed programs: their versions, and the example analysed as the
# getting-started text says.
"$root/usr/bin/talver-batch" --version | grep -q "^talver-batch (TALVER) " || fail "talver-batch --version"
"$root/usr/bin/talver" --version | grep -q "^talver (TALVER) " || fail "talver --version"
env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/talver" -RegServer || fail "talver -RegServer ended with status $?"
# The registration switches work, but are no business of the user's.
if "$root/usr/bin/talver" --help | grep -qi "regserver"; then
    fail "talver --help advertises the registration switches"
fi
mkdir "$root/installed" "$root/built"
cp "$root/usr/share/doc/talver-batch/examples/target.dat" "$root/usr/share/doc/talver-batch/examples/replica.dat" "$root/installed/"
cp "$top/examples/target.dat" "$top/examples/replica.dat" "$root/built/"
(cd "$root/installed" && "$root/usr/bin/talver-batch" --output output.txt --threads 2 2>/dev/null)
(cd "$root/built" && "$build/talver-batch" --output output.txt --threads 2 2>/dev/null)
without_clock() {
    sed -e 's/^\( *Date: \).*/\1-/' -e 's/^\( *Time: \).*/\1-/' -e 's/^\(Computing time: \).*/\1-/' "$1"
}
without_clock "$root/installed/output.txt" >"$root/installed.txt"
without_clock "$root/built/output.txt" >"$root/built.txt"
cmp -s "$root/installed.txt" "$root/built.txt" || {
    diff "$root/built.txt" "$root/installed.txt" | head -20 >&2
    fail "the installed talver-batch writes another report than the build's"
}
grep -q "^TALVER completed" "$root/installed.txt" || fail "the installed talver-batch wrote no whole report"
echo "ci-package: the packages hold what they should and the installed talver-batch writes the build's report"
