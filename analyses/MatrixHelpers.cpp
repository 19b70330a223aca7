#include "analyses/MatrixHelpers.h"

#include <cmath>

namespace talver {

bool AllFinite(const Matrix* a)
{
    for (int i = 0; i < a->Rows(); ++i) {
        const double* row = a->Row(i);
        for (int j = 0; j < a->Cols(); ++j) {
            if (!std::isfinite(row[j])) {
                return false;
            }
        }
    }
    return true;
}

bool ColumnAllFinite(const Matrix* a, int column)
{
    for (int i = 0; i < a->Rows(); ++i) {
        if (!std::isfinite((*a)(i, column))) {
            return false;
        }
    }
    return true;
}

void CopyValues(const Matrix* from, Matrix* to)
{
    for (int i = 0; i < from->Rows(); ++i) {
        const double* source = from->Row(i);
        double* destination = to->Row(i);
        for (int j = 0; j < from->Cols(); ++j) {
            destination[j] = source[j];
        }
    }
}

} // namespace talver
