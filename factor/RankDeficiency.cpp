#include "factor/RankDeficiency.h"

#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace talver {

bool IsRankDeficient(const Matrix* s)
{
    const int p = s->Rows();
    std::vector<double> scale(p);
    for (int i = 0; i < p; ++i) {
        const double variance = (*s)(i, i);
        if (!(variance > 0.0) || !std::isfinite(variance)) {
            return true;
        }
        scale[i] = 1.0 / std::sqrt(variance);
    }
    // The correlation form, row-major; factored in place.
    std::vector<double> a(static_cast<std::size_t>(p) * p);
    auto at = [&](int i, int j) -> double& { return a[static_cast<std::size_t>(i) * p + j]; };
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) {
            at(i, j) = (*s)(i, j) * scale[i] * scale[j];
            if (!std::isfinite(at(i, j))) {
                return true;
            }
        }
    }
    for (int k = 0; k < p; ++k) {
        int pivot = k;
        for (int i = k + 1; i < p; ++i) {
            if (at(i, i) > at(pivot, pivot)) {
                pivot = i;
            }
        }
        if (!(at(pivot, pivot) > kRelativePivotTolerance)) {
            return true;
        }
        if (pivot != k) {
            for (int j = 0; j < p; ++j) {
                std::swap(at(k, j), at(pivot, j));
            }
            for (int i = 0; i < p; ++i) {
                std::swap(at(i, k), at(i, pivot));
            }
        }
        const double root = std::sqrt(at(k, k));
        for (int i = k + 1; i < p; ++i) {
            at(i, k) /= root;
        }
        for (int i = k + 1; i < p; ++i) {
            for (int j = k + 1; j <= i; ++j) {
                at(i, j) -= at(i, k) * at(j, k);
                at(j, i) = at(i, j);
            }
        }
    }
    return false;
}

} // namespace talver
