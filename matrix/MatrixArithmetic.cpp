#include "matrix/MatrixOps.h"

#include "matrix/ElementLoops.h"

namespace talver {

namespace {

bool SameShape(const Matrix* a, const Matrix* b)
{
    return a->Rows() == b->Rows() && a->Cols() == b->Cols();
}

} // namespace

Matrix* Product(const Matrix* a, const Matrix* b)
{
    Matrix* result = NewMatrix(a->Rows(), b->Cols());
    if (a->Cols() != b->Rows()) {
        FatalMatrixError(kProductShapeError);
    }
    // Each element accumulates in place in k order, so results are
    // reproducible; k outside j walks b row by row, and each element still
    // sees its terms in k order.
    for (int i = 0; i < a->Rows(); ++i) {
        const double* rowA = a->Row(i);
        double* out = result->Row(i);
        for (int k = 0; k < a->Cols(); ++k) {
            const double aik = rowA[k];
            const double* rowB = b->Row(k);
            for (int j = 0; j < b->Cols(); ++j) {
                out[j] += aik * rowB[j];
            }
        }
    }
    return result;
}

Matrix* Plus(const Matrix* a, const Matrix* b)
{
    if (!SameShape(a, b)) {
        FatalMatrixError(kProductShapeError);
    }
    return CombinedElements(a, b, [](double x, double y) { return x + y; });
}

Matrix* Minus(const Matrix* a, const Matrix* b)
{
    if (!SameShape(a, b)) {
        FatalMatrixError(kProductShapeError);
    }
    return CombinedElements(a, b, [](double x, double y) { return x - y; });
}

Matrix* PlusScalar(const Matrix* a, double x)
{
    return MappedElements(a, [x](double v) { return v + x; });
}

Matrix* MinusScalar(const Matrix* a, double x)
{
    return MappedElements(a, [x](double v) { return v - x; });
}

Matrix* Times(const Matrix* a, double x)
{
    return MappedElements(a, [x](double v) { return x * v; });
}

Matrix* TimesInt(const Matrix* a, int k)
{
    return Times(a, static_cast<double>(k));
}

Matrix* DividedBy(const Matrix* a, double x)
{
    if (!(x > 0.0)) {
        return NewMatrix(a->Rows(), a->Cols());
    }
    return MappedElements(a, [x](double v) { return v / x; });
}

Matrix* ScalarOver(const Matrix* a, double x)
{
    if (!(x > 0.0)) {
        return NewMatrix(a->Rows(), a->Cols());
    }
    return MappedElements(a, [x](double v) { return x / v; });
}

Matrix* DividedByInt(const Matrix* a, int k)
{
    if (k == 0) {
        return NewMatrix(a->Rows(), a->Cols());
    }
    const double divisor = static_cast<double>(k);
    return MappedElements(a, [divisor](double v) { return v / divisor; });
}

Matrix* ElementProduct(const Matrix* a, const Matrix* b)
{
    if (!SameShape(a, b)) {
        FatalMatrixError(kProductShapeError);
    }
    return CombinedElements(a, b, [](double x, double y) { return x * y; });
}

Matrix* ElementQuotient(const Matrix* a, const Matrix* b)
{
    if (!SameShape(a, b)) {
        FatalMatrixError(kProductShapeError);
    }
    return CombinedElements(a, b, [](double x, double y) { return x / y; });
}

double Trace(const Matrix* a)
{
    if (a->Rows() != a->Cols()) {
        return 0.0;
    }
    double sum = 0.0;
    for (int i = 0; i < a->Rows(); ++i) {
        sum += (*a)(i, i);
    }
    return sum;
}

} // namespace talver
