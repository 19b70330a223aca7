#pragma once
// A table of results that outlives the matrix scopes of the analysis that
// computed it, so that report writers can format it after the scopes close.

#include <cstddef>
#include <vector>

struct ResultTable {
    int rows = 0;
    int cols = 0;
    std::vector<double> values; // row by row

    double operator()(int i, int j) const { return values[static_cast<std::size_t>(i) * cols + j]; }
};

// A rows x cols table filled column by column from `values`, the layout of Vec.
ResultTable TableOfColumns(const std::vector<double>& values, int first, int rows, int cols);
