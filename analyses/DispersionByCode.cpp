#include "analyses/DispersionByCode.h"

#include <cmath>

#include "app/Workspace.h"
#include "matrix/MatrixOps.h"
#include "stats/Polychoric.h"

bool IsPolychoric(int dispersionKind)
{
    return dispersionKind != kDispersionCovariance && dispersionKind != kDispersionPearson;
}

Matrix* MomentDispersion(const Matrix* data, int dispersionKind)
{
    return dispersionKind == kDispersionCovariance ? CovarianceMatrix(data) : CorrelationMatrix(data);
}

Matrix* DispersionByCode(const Matrix* data, int dispersionKind, const Matrix* itemLowest, const Matrix* itemHighest)
{
    if (IsPolychoric(dispersionKind)) {
        return PolychoricMatrix(data, itemLowest, itemHighest);
    }
    return MomentDispersion(data, dispersionKind);
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
