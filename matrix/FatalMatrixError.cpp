// The fatal stop of the matrix engine, in a file of its own so that a host
// that must not end its process (the R package) links its own definition.

#include "matrix/Matrix.h"

#include <cstdio>
#include <cstdlib>

namespace talver {

void FatalMatrixError(const char* diagnostic)
{
    std::fprintf(stderr, "%s\n", diagnostic);
    std::exit(1);
}

} // namespace talver
