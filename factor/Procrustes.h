#pragma once
// Orthogonal Procrustes rotation of one loading matrix towards another.

#include "matrix/Matrix.h"

namespace talver {

// The m x m orthogonal T minimising the sum of squares of C T - L, for C (the
// matrix to rotate) and L (the target) both p x m: T = U V' from the singular
// value decomposition C'L = U diag(s) V'.
Matrix* ProcrustesRotation(const Matrix* c, const Matrix* l);

} // namespace talver
