#include "factor/CholeskyFactor.h"

#include <cmath>
#include <limits>

namespace talver {

bool CholeskyInPlace(std::vector<double>& a, int n)
{
    for (int j = 0; j < n; ++j) {
        double* rowJ = a.data() + static_cast<std::size_t>(j) * n;
        double pivot = rowJ[j];
        for (int k = 0; k < j; ++k) {
            pivot -= rowJ[k] * rowJ[k];
        }
        if (!(pivot > 0.0) || !std::isfinite(pivot)) {
            return false;
        }
        rowJ[j] = std::sqrt(pivot);
        for (int i = j + 1; i < n; ++i) {
            double* rowI = a.data() + static_cast<std::size_t>(i) * n;
            double sum = rowI[j];
            for (int k = 0; k < j; ++k) {
                sum -= rowI[k] * rowJ[k];
            }
            rowI[j] = sum / rowJ[j];
        }
    }
    return true;
}

double LogDeterminantOfFactor(const std::vector<double>& factor, int n)
{
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        sum += 2.0 * std::log(factor[static_cast<std::size_t>(i) * n + i]);
    }
    return sum;
}

std::vector<double> DiagonalOfInverse(const std::vector<double>& factor, int n)
{
    auto at = [&factor, n](int i, int j) { return factor[static_cast<std::size_t>(i) * n + j]; };
    std::vector<double> result(n);
    std::vector<double> y(n);
    // Column i of L^-1 solves L y = e_i; its elements above i are zero.
    for (int i = 0; i < n; ++i) {
        y[i] = 1.0 / at(i, i);
        double sum = y[i] * y[i];
        for (int k = i + 1; k < n; ++k) {
            double value = 0.0;
            for (int j = i; j < k; ++j) {
                value -= at(k, j) * y[j];
            }
            y[k] = value / at(k, k);
            sum += y[k] * y[k];
        }
        result[i] = sum;
    }
    return result;
}

double LogDeterminantOfPositiveDefinite(const Matrix* a)
{
    const int n = a->Rows();
    std::vector<double> factor = a->Elements();
    if (!CholeskyInPlace(factor, n)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return LogDeterminantOfFactor(factor, n);
}

} // namespace talver
