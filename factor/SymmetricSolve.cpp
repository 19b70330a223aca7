#include "factor/SymmetricSolve.h"

#include <cmath>

namespace talver {

bool SolveSymmetricWithClearPivots(std::vector<double> a, const std::vector<double>& b, int n,
                                   double minimumPivot, std::vector<double>& x)
{
    auto at = [&a, n](int i, int j) -> double& { return a[static_cast<std::size_t>(i) * n + j]; };
    // Column j of L (unit diagonal) goes below the diagonal, D on it; work
    // holds L(j, k) D(k) for the row being finished.
    std::vector<double> work(n);
    for (int j = 0; j < n; ++j) {
        for (int k = 0; k < j; ++k) {
            work[k] = at(j, k) * at(k, k);
        }
        double pivot = at(j, j);
        for (int k = 0; k < j; ++k) {
            pivot -= at(j, k) * work[k];
        }
        if (!(std::fabs(pivot) >= minimumPivot)) {
            return false;
        }
        at(j, j) = pivot;
        for (int i = j + 1; i < n; ++i) {
            double sum = at(i, j);
            for (int k = 0; k < j; ++k) {
                sum -= at(i, k) * work[k];
            }
            at(i, j) = sum / pivot;
        }
    }
    x = b;
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < i; ++k) {
            x[i] -= at(i, k) * x[k];
        }
    }
    for (int i = 0; i < n; ++i) {
        x[i] /= at(i, i);
    }
    for (int i = n - 1; i >= 0; --i) {
        for (int k = i + 1; k < n; ++k) {
            x[i] -= at(k, i) * x[k];
        }
    }
    return true;
}

} // namespace talver
