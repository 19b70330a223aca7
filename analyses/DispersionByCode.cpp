#include "analyses/DispersionByCode.h"

#include <cmath>

#include "matrix/MatrixOps.h"
#include "stats/Polychoric.h"

namespace talver {

Matrix* MomentDispersion(const Matrix* data, DispersionKind kind)
{
    return kind == DispersionKind::Covariance ? CovarianceMatrix(data) : CorrelationMatrix(data);
}

Matrix* DispersionByCode(const Matrix* data, DispersionKind kind, const Matrix* itemLowest, const Matrix* itemHighest)
{
    if (kind == DispersionKind::Polychoric) {
        return PolychoricMatrix(data, itemLowest, itemHighest);
    }
    return MomentDispersion(data, kind);
}

int FirstDegenerateItem(const Matrix* s)
{
    // The diagonal first: a constant item spoils every row through its
    // column, but only its own variance.
    for (int i = 0; i < s->Rows(); ++i) {
        const double variance = (*s)(i, i);
        if (!(variance > 0.0) || !std::isfinite(variance)) {
            return i;
        }
    }
    for (int i = 0; i < s->Rows(); ++i) {
        for (int j = 0; j < s->Cols(); ++j) {
            if (!std::isfinite((*s)(i, j))) {
                return i;
            }
        }
    }
    return -1;
}

} // namespace talver
