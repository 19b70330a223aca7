#include "matrix/MatrixInPlace.h"

#include <algorithm>
#include <cmath>

namespace talver {

void CopyValues(const Matrix* from, Matrix* to)
{
    const int rows = std::min(from->Rows(), to->Rows());
    const int cols = std::min(from->Cols(), to->Cols());
    for (int i = 0; i < rows; ++i) {
        std::copy(from->Row(i), from->Row(i) + cols, to->Row(i));
    }
}

void SetIdentity(Matrix* a)
{
    for (int i = 0; i < a->Rows(); ++i) {
        double* row = a->Row(i);
        for (int j = 0; j < a->Cols(); ++j) {
            row[j] = i == j ? 1.0 : 0.0;
        }
    }
}

bool AllFinite(const Matrix* a)
{
    for (int i = 0; i < a->Rows(); ++i) {
        const double* row = a->Row(i);
        if (!std::all_of(row, row + a->Cols(), [](double x) { return std::isfinite(x); })) {
            return false;
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

} // namespace talver
