#pragma once
// Helpers of the tests of the ULS minimum.

#include <algorithm>

#include "factor/UlsExtraction.h"
#include "matrix/Matrix.h"

// ULS loadings of s with m factors at the program's stop rule, unrotated.
inline talver::Matrix* Uls(const talver::Matrix* s, int m)
{
    talver::Matrix* loadings = talver::NewMatrix(s->Rows(), m);
    double stat = 0.0;
    talver::ExtractUls(s, m, 0.0001f, 0, loadings, stat);
    return loadings;
}

// The largest diagonal element: the scale of the stop rule.
inline double LargestVariance(const talver::Matrix* s)
{
    double largest = 0.0;
    for (int i = 0; i < s->Rows(); ++i) {
        largest = std::max(largest, (*s)(i, i));
    }
    return largest;
}
