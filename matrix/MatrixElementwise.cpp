#include "matrix/MatrixOps.h"

#include <cmath>

#include "matrix/ElementLoops.h"

namespace talver {

Matrix* Sqrt(const Matrix* a)
{
    return MappedElements(a, [](double v) { return v > 0.0 ? std::sqrt(v) : 0.0; });
}

Matrix* Log(const Matrix* a)
{
    return MappedElements(a, [](double v) { return std::log(v); });
}

Matrix* Exp(const Matrix* a)
{
    return MappedElements(a, [](double v) { return std::exp(v); });
}

Matrix* Power(const Matrix* a, int k)
{
    if (k == 0) {
        return Ones(a->Rows(), a->Cols());
    }
    // Negative exponents take the same road: pow gives the reciprocal powers.
    const double exponent = static_cast<double>(k);
    return MappedElements(a, [exponent](double v) { return std::pow(v, exponent); });
}

} // namespace talver
