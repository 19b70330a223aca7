#pragma once
// One rotation of the Jacobi method.

#include "matrix/Matrix.h"

namespace talver {

// One rotation in the plane (b, d): w becomes J^T w J and v becomes v J, with
// J the identity except J[b][b] = J[d][d] = c, J[b][d] = s, J[d][b] = -s.
// The angle is the approximation tan(theta) = g; it shrinks w[b][d] without
// annihilating it. Changes rows b and d and columns b and d of w, and
// columns b and d of v.
void JacobiRotate(Matrix* w, Matrix* v, int b, int d);

} // namespace talver
