#include "factor/JacobiRotation.h"

#include <cmath>

namespace talver {

void JacobiRotate(Matrix* w, Matrix* v, int b, int d, std::vector<double>& colB, std::vector<double>& colD)
{
    const int n = w->Rows();
    const double difference = (*w)(d, d) - (*w)(b, b);
    const double g = difference == 0.0 ? (*w)(b, d) * 10000000.0 : (*w)(b, d) / difference;
    const double c = 1.0 / std::sqrt(1.0 + g * g);
    const double s = g * c;

    // Rows b and d are built from columns b and d. w is symmetric only up to
    // rounding, so this choice fixes the last bits of every result.
    for (int k = 0; k < n; ++k) {
        colB[k] = (*w)(k, b);
        colD[k] = (*w)(k, d);
    }
    double* rowB = w->Row(b);
    double* rowD = w->Row(d);
    for (int k = 0; k < n; ++k) {
        rowB[k] = c * colB[k] - s * colD[k];
        rowD[k] = s * colB[k] + c * colD[k];
    }

    // Then columns b and d of the updated matrix.
    for (int k = 0; k < n; ++k) {
        colB[k] = (*w)(k, b);
        colD[k] = (*w)(k, d);
    }
    for (int k = 0; k < n; ++k) {
        (*w)(k, b) = c * colB[k] - s * colD[k];
        (*w)(k, d) = s * colB[k] + c * colD[k];
    }

    for (int k = 0; k < n; ++k) {
        const double vb = (*v)(k, b);
        const double vd = (*v)(k, d);
        (*v)(k, b) = c * vb - s * vd;
        (*v)(k, d) = s * vb + c * vd;
    }
}

} // namespace talver
