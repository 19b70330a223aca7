#include "factor/JacobiRotation.h"

#include <cmath>

namespace talver {

// The rotation is defined as two updates: first rows b and d become
// c row_b - s row_d and s row_b + c row_d, taken from columns b and d of w;
// then columns b and d of that result become c col_b - s col_d and
// s col_b + c col_d. Outside the 2 x 2 block (b, d) the second update reads
// elements the first one left alone, so element k of the new rows b and d
// and element k of the new columns b and d are the very same expressions of
// the same two old elements w[k][b] and w[k][d]: one pass computes both,
// with the same bits. Only the block itself goes through both updates.
void JacobiRotate(Matrix* w, Matrix* v, int b, int d)
{
    const int n = w->Rows();
    const double difference = (*w)(d, d) - (*w)(b, b);
    const double g = difference == 0.0 ? (*w)(b, d) * 10000000.0 : (*w)(b, d) / difference;
    const double c = 1.0 / std::sqrt(1.0 + g * g);
    const double s = g * c;

    // Rows b and d are built from columns b and d. w is symmetric only up to
    // rounding, so this choice fixes the last bits of every result.
    const double bb = (*w)(b, b);
    const double bd = (*w)(b, d);
    const double db = (*w)(d, b);
    const double dd = (*w)(d, d);
    const double rowBb = c * bb - s * bd;
    const double rowBd = c * db - s * dd;
    const double rowDb = s * bb + c * bd;
    const double rowDd = s * db + c * dd;

    double* rowB = w->Row(b);
    double* rowD = w->Row(d);
    for (int k = 0; k < n; ++k) {
        if (k == b || k == d) {
            continue;
        }
        double* row = w->Row(k);
        const double newB = c * row[b] - s * row[d];
        const double newD = s * row[b] + c * row[d];
        rowB[k] = newB;
        rowD[k] = newD;
        row[b] = newB;
        row[d] = newD;
    }
    rowB[b] = c * rowBb - s * rowBd;
    rowB[d] = s * rowBb + c * rowBd;
    rowD[b] = c * rowDb - s * rowDd;
    rowD[d] = s * rowDb + c * rowDd;

    for (int k = 0; k < n; ++k) {
        double* row = v->Row(k);
        const double vb = row[b];
        const double vd = row[d];
        row[b] = c * vb - s * vd;
        row[d] = s * vb + c * vd;
    }
}

} // namespace talver
