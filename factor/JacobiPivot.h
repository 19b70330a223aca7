#pragma once
// The pivot search of the Jacobi method: the largest off-diagonal element of
// the working matrix, kept up to date across rotations from the largest
// element of each row, so that a search costs O(n) after a rotation instead
// of a scan of all n^2 elements.

#include <vector>

#include "matrix/Matrix.h"

namespace talver {

struct OffDiagonal {
    int row;
    int col;
    double magnitude;
};

// Tracks, for every row of a square matrix of at least 2 rows, the first
// off-diagonal element of largest magnitude. The matrix is only approximately
// symmetric, so both triangles are searched, as a row-major scan of the whole
// matrix would.
class OffDiagonalMaxima {
public:
    explicit OffDiagonalMaxima(const Matrix* w);

    // To be called after a rotation in the plane (b, d) changed rows b and d
    // and columns b and d of the matrix, and nothing else.
    void AfterRotation(int b, int d);

    // The largest off-diagonal element in magnitude, chosen as a row-major
    // scan of the whole matrix that starts from (1, 0) and moves only to a
    // strictly greater magnitude would choose it: the first one in row-major
    // order wins, (1, 0) counting as first. Elements that are NaN are never
    // chosen, except (1, 0) as the start.
    OffDiagonal Largest() const;

private:
    void ScanRow(int i);
    // Takes w(i, j) as row i's maximum when it is larger, or as large and
    // further left.
    void Consider(int i, int j);

    const Matrix* w_;
    int n_;
    // Per row: column and magnitude of its first largest element; -1 and -1.0
    // for a row whose off-diagonal elements are all NaN.
    std::vector<int> column_;
    std::vector<double> magnitude_;
};

} // namespace talver
