// The matrix engine's stop on operand shapes that do not fit, for the
// package: a programming error ends the call with an R error instead of
// ending the R session.

#include <stdexcept>
#include <string>

#include "matrix/Matrix.h"

namespace talver {

void FatalMatrixError(const char* diagnostic)
{
    throw std::logic_error(std::string("internal error of the matrix engine: ") + diagnostic);
}

} // namespace talver
