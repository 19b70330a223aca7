#!/bin/sh
# Compiles the R package talver's C++ sources for Windows with Debian's
# MinGW-w64 cross compiler (the GCC that R's Rtools uses there) and links
# them into talver.dll, as R CMD INSTALL does on Windows:
#     scripts/check-r-package-mingw.sh [folder]      (default build-r-mingw/)
# The headers are R's own (Debian's; R_ext/libextern.h declares the imports
# of R.dll under _WIN32 as on Windows) and Rcpp's. R.dll itself is not on
# this machine: the link uses an import library made from the R API symbols
# that the objects use and that R exports (listed from Debian's libR.so), so
# any other unresolved symbol, a POSIX call Windows lacks for one, fails the
# link as it would fail on Windows.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build-r-mingw}
cxx=x86_64-w64-mingw32-g++-posix
for tool in $cxx x86_64-w64-mingw32-nm x86_64-w64-mingw32-dlltool; do
    command -v $tool > /dev/null || { echo "$tool not found: apt-get install g++-mingw-w64-x86-64-posix" >&2; exit 2; }
done
if command -v ccache > /dev/null; then cxx="ccache $cxx"; fi
r_include=$(R RHOME)/include
[ -d "$r_include" ] || r_include=/usr/share/R/include
rcpp_include=$(Rscript -e 'cat(system.file("include", package = "Rcpp"))')
libR=$(R RHOME)/lib/libR.so

"$top/scripts/stage-r-package.sh" "$out" > /dev/null
package=$out/talver/src
objects=$(sed -n 's/^OBJECTS = //p' "$package/Makevars.win")
# The flags of the Makevars.win. Whether a source compiles and links does
# not depend on optimization, which would make this stage take minutes more.
flags="-std=gnu++20 -O0 -DNDEBUG -ffp-contract=off -I$package -I$r_include -I$rcpp_include"
cd "$package"
# Compile each object, two at a time.
printf '%s\n' $objects | xargs -P 2 -I OBJECT sh -c \
    'set -e; object=OBJECT; '"$cxx $flags"' -c "${object%.o}.cpp" -o "$object"'
# The import library of the R API the objects use.
x86_64-w64-mingw32-nm -u $objects | sed -n 's/^ *U __imp_//p; s/^ *U //p' | sort -u > wanted.txt
nm -D --defined-only "$libR" | awk '{ print $3 }' | sort -u > exported.txt
{ echo "LIBRARY R.dll"; echo "EXPORTS"; comm -12 wanted.txt exported.txt; } > R.def
x86_64-w64-mingw32-dlltool -d R.def -l libR.dll.a
x86_64-w64-mingw32-g++-posix -shared -static -o talver.dll $objects libR.dll.a -pthread
echo "talver.dll linked for Windows: $package/talver.dll"
