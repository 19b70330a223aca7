#include "factor/JacobiPivot.h"

#include <cmath>

namespace talver {

OffDiagonalMaxima::OffDiagonalMaxima(const Matrix* w)
    : w_(w), n_(w->Rows()), column_(static_cast<size_t>(n_)), magnitude_(static_cast<size_t>(n_))
{
    for (int i = 0; i < n_; ++i) {
        ScanRow(i);
    }
}

void OffDiagonalMaxima::ScanRow(int i)
{
    const double* row = w_->Row(i);
    int column = -1;
    double magnitude = -1.0;
    for (int j = 0; j < n_; ++j) {
        if (j != i && std::fabs(row[j]) > magnitude) {
            column = j;
            magnitude = std::fabs(row[j]);
        }
    }
    column_[i] = column;
    magnitude_[i] = magnitude;
}

void OffDiagonalMaxima::Consider(int i, int j)
{
    const double magnitude = std::fabs((*w_)(i, j));
    if (magnitude > magnitude_[i] || (magnitude == magnitude_[i] && j < column_[i])) {
        column_[i] = j;
        magnitude_[i] = magnitude;
    }
}

void OffDiagonalMaxima::AfterRotation(int b, int d)
{
    for (int i = 0; i < n_; ++i) {
        if (i == b || i == d) {
            ScanRow(i);
            continue;
        }
        // Only (i, b) and (i, d) changed in this row.
        const int held = column_[i];
        if (held == b || held == d) {
            // The maximum sat in a changed column. If it did not shrink it
            // is still the first maximum of the unchanged elements, which
            // all lie below it or to its right at most as large; if it
            // shrank (or became NaN), anything may have overtaken it.
            const double now = std::fabs((*w_)(i, held));
            if (!(now >= magnitude_[i])) {
                ScanRow(i);
                continue;
            }
            magnitude_[i] = now;
            Consider(i, held == b ? d : b);
        } else {
            Consider(i, b);
            Consider(i, d);
        }
    }
}

OffDiagonal OffDiagonalMaxima::Largest() const
{
    // Each row's maximum is its first one in the row, so taking rows in order
    // and moving only to a strictly larger one finds the first maximum of the
    // whole matrix in row-major order.
    OffDiagonal largest{1, 0, std::fabs((*w_)(1, 0))};
    for (int i = 0; i < n_; ++i) {
        if (magnitude_[i] > largest.magnitude) {
            largest = OffDiagonal{i, column_[i], magnitude_[i]};
        }
    }
    return largest;
}

} // namespace talver
