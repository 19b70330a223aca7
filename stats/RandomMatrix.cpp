#include "stats/RandomMatrix.h"

#include "stats/RandomSource.h"

namespace talver {

Matrix* RandomMatrix(int rows, int cols, RandomSource& random)
{
    Matrix* result = NewMatrix(rows, cols);
    // One draw ahead of the elements: the last draw is made but never used,
    // and later users of the sequence depend on that count.
    int x = NextRandom(random) % 1000;
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) {
            (*result)(i, j) = ((x * 121 + 567) * 0.001 - 0.5) * 2.0;
            x = NextRandom(random) % 1000;
        }
    }
    return result;
}

} // namespace talver
