#include "factor/MlDiscrepancy.h"

#include <cmath>

#include "factor/Inverse.h"
#include "matrix/MatrixOps.h"

namespace talver {

double MlDiscrepancy(const Matrix* lambda, const Matrix* psi, const Matrix* s)
{
    MatrixScope scope;
    const int p = s->Rows();
    // Sigma element by element, as Plus(Product(lambda, lambda'), Diag(psi)).
    Matrix* sigma = NewMatrix(p, p);
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) {
            double reproduced = 0.0;
            for (int c = 0; c < lambda->Cols(); ++c) {
                reproduced += (*lambda)(i, c) * (*lambda)(j, c);
            }
            (*sigma)(i, j) = reproduced + (i == j ? (*psi)(i, 0) : 0.0);
        }
    }
    const Matrix* fit = Product(s, Inverse(sigma));
    return Trace(fit) - std::log(Determinant(fit)) - p;
}

} // namespace talver
