// The stop of the matrix engine on a programming error, in a file of its own
// so that a host with its own error channel (the R package) links its own
// definition.

#include "matrix/Matrix.h"

#include <string>

namespace talver {

void FatalMatrixError(const char* diagnostic)
{
    throw MatrixEngineError(std::string("internal error of the matrix engine: ") + diagnostic);
}

} // namespace talver
