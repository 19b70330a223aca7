#include "matrix/MatrixOps.h"

namespace talver {

Matrix* Zeros(int rows, int cols)
{
    return NewMatrix(rows, cols);
}

Matrix* Ones(int rows, int cols)
{
    return Filled(rows, cols, 1.0);
}

Matrix* Filled(int rows, int cols, double x)
{
    Matrix* result = NewMatrix(rows, cols);
    for (int i = 0; i < rows; ++i) {
        double* row = result->Row(i);
        for (int j = 0; j < cols; ++j) {
            row[j] = x;
        }
    }
    return result;
}

Matrix* Identity(int n)
{
    Matrix* result = NewMatrix(n, n);
    for (int i = 0; i < n; ++i) {
        (*result)(i, i) = 1.0;
    }
    return result;
}

} // namespace talver
