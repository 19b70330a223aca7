#include "factor/SymmetricPower.h"

#include <cmath>
#include <limits>
#include <vector>

#include "factor/SymmetricEigenSolver.h"

namespace talver {

Matrix* SymmetricPower(const Matrix* s, double power)
{
    const int n = s->Rows();
    std::vector<double> a = s->Elements();
    const SymmetricEigenpairs pairs = SolveSymmetricEigen(std::move(a), n);
    // An eigenvalue within rounding of 0 (n units of rounding of the largest)
    // belongs to a singular matrix whatever its sign came out as.
    const double negligible = n * std::numeric_limits<double>::epsilon() * std::fabs(pairs.values[0]);
    std::vector<double> scaled(n);
    for (int k = 0; k < n; ++k) {
        const double e = pairs.values[k];
        if (power < 0.0) {
            scaled[k] = e > negligible ? std::pow(e, power) : std::numeric_limits<double>::infinity();
        } else {
            scaled[k] = e > 0.0 ? std::pow(e, power) : 0.0;
        }
    }
    Matrix* result = NewMatrix(n, n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            double sum = 0.0;
            for (int k = 0; k < n; ++k) {
                sum += pairs.vectors[static_cast<std::size_t>(i) * n + k] * scaled[k] *
                       pairs.vectors[static_cast<std::size_t>(j) * n + k];
            }
            (*result)(i, j) = sum;
        }
    }
    return result;
}

} // namespace talver
