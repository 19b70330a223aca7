#include "factor/MlDiscrepancy.h"

#include <cmath>
#include <limits>
#include <vector>

#include "factor/CholeskyFactor.h"

namespace talver {

double MlDiscrepancy(const Matrix* lambda, const Matrix* psi, const Matrix* s)
{
    return MlDiscrepancy(lambda, psi, s, LogDeterminantOfPositiveDefinite(s));
}

// With W = Psi^-1 lambda and M = I + lambda' Psi^-1 lambda (m x m), the
// Woodbury identity gives Sigma^-1 = Psi^-1 - W M^-1 W', so
// tr(S Sigma^-1) = sum s_ii / psi_i - tr(M^-1 W' S W), and the matrix
// determinant lemma ln det Sigma = sum ln psi_i + ln det M (Harville 1997,
// Matrix Algebra From a Statistician's Perspective, sections 18.1-18.2; the
// same reduction as Lawley and Maxwell 1971, section 4.3).
double MlDiscrepancy(const Matrix* lambda, const Matrix* psi, const Matrix* s, double logDeterminantOfS)
{
    const int p = s->Rows();
    const int m = lambda->Cols();
    std::vector<double> w(static_cast<std::size_t>(p) * m);
    double traceOfScaledS = 0.0;
    double logDeterminantOfPsi = 0.0;
    for (int i = 0; i < p; ++i) {
        const double unique = (*psi)(i, 0);
        if (!(unique > 0.0)) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        traceOfScaledS += (*s)(i, i) / unique;
        logDeterminantOfPsi += std::log(unique);
        for (int k = 0; k < m; ++k) {
            w[static_cast<std::size_t>(i) * m + k] = (*lambda)(i, k) / unique;
        }
    }
    // M and W' S W, both m x m; S W row by row, p^2 m in all.
    std::vector<double> core(static_cast<std::size_t>(m) * m, 0.0);
    std::vector<double> quadratic(static_cast<std::size_t>(m) * m, 0.0);
    std::vector<double> sw(m);
    for (int i = 0; i < p; ++i) {
        const double* wI = w.data() + static_cast<std::size_t>(i) * m;
        for (int k = 0; k < m; ++k) {
            sw[k] = 0.0;
        }
        for (int j = 0; j < p; ++j) {
            const double sij = (*s)(i, j);
            const double* wJ = w.data() + static_cast<std::size_t>(j) * m;
            for (int k = 0; k < m; ++k) {
                sw[k] += sij * wJ[k];
            }
        }
        for (int k = 0; k < m; ++k) {
            for (int l = 0; l < m; ++l) {
                quadratic[static_cast<std::size_t>(k) * m + l] += wI[k] * sw[l];
                core[static_cast<std::size_t>(k) * m + l] += (*lambda)(i, k) * wI[l];
            }
        }
    }
    for (int k = 0; k < m; ++k) {
        core[static_cast<std::size_t>(k) * m + k] += 1.0;
    }
    if (!CholeskyInPlace(core, m)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    // tr(M^-1 Q) with M = L L': solve L L' y = q for every column q of Q
    // and add up the diagonal of the solutions.
    double traceOfCorrection = 0.0;
    std::vector<double> column(m);
    for (int c = 0; c < m; ++c) {
        for (int k = 0; k < m; ++k) {
            double sum = quadratic[static_cast<std::size_t>(k) * m + c];
            for (int l = 0; l < k; ++l) {
                sum -= core[static_cast<std::size_t>(k) * m + l] * column[l];
            }
            column[k] = sum / core[static_cast<std::size_t>(k) * m + k];
        }
        for (int k = m - 1; k >= 0; --k) {
            double sum = column[k];
            for (int l = k + 1; l < m; ++l) {
                sum -= core[static_cast<std::size_t>(l) * m + k] * column[l];
            }
            column[k] = sum / core[static_cast<std::size_t>(k) * m + k];
        }
        traceOfCorrection += column[c];
    }
    const double logDeterminantOfSigma = logDeterminantOfPsi + LogDeterminantOfFactor(core, m);
    return traceOfScaledS - traceOfCorrection - logDeterminantOfS + logDeterminantOfSigma - p;
}

} // namespace talver
