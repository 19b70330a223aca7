#include "factor/MlLoadings.h"

#include <cmath>
#include <utility>
#include <vector>

#include "factor/SymmetricEigenSolver.h"

namespace talver {

namespace {

// Stands in for an eigenvalue below 1, which would give no real loading: its
// loading column comes out scaled by sqrt(0.01) = 0.1.
constexpr double kSmallEigenvalue = 1.01;

} // namespace

// Only the m leading pairs of Psi^-1/2 S Psi^-1/2 are needed (Joreskog 1967;
// Lawley and Maxwell 1971, chapter 4): the scaling is O(p^2), and neither S^-1
// nor the full decomposition of Psi^1/2 S^-1 Psi^1/2, whose m smallest pairs
// are the same vectors with the reciprocal values, is formed.
Matrix* MlLoadings(const Matrix* s, const Matrix* psi, Matrix* gamma, Matrix* omega)
{
    const int p = s->Rows();
    const int m = omega->Cols();
    Matrix* result = NewMatrix(p, m);
    std::vector<double> root(p);
    for (int i = 0; i < p; ++i) {
        root[i] = std::sqrt((*psi)(i, 0));
    }
    std::vector<double> scaled(static_cast<std::size_t>(p) * p);
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) {
            scaled[static_cast<std::size_t>(i) * p + j] = (*s)(i, j) / (root[i] * root[j]);
        }
    }
    const SymmetricEigenpairs pairs = SolveLeadingSymmetricEigen(std::move(scaled), p, m);
    for (int k = 0; k < m; ++k) {
        const double value = pairs.values[k];
        (*gamma)(k, 0) = value < 1.0 ? kSmallEigenvalue : value;
        const double length = std::sqrt((*gamma)(k, 0) - 1.0);
        for (int i = 0; i < p; ++i) {
            const double vector = pairs.vectors[static_cast<std::size_t>(i) * m + k];
            (*omega)(i, k) = vector;
            (*result)(i, k) = root[i] * vector * length;
        }
    }
    return result;
}

} // namespace talver
