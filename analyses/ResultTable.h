#pragma once
// Tables of results that outlive the matrix scopes of the analysis that
// computed them, so that writers can format them after the scopes close.

#include <cstddef>
#include <vector>

namespace talver {

struct ResultTable {
    int rows = 0;
    int cols = 0;
    std::vector<double> values; // row by row

    double operator()(int i, int j) const { return values[static_cast<std::size_t>(i) * cols + j]; }
};

// A rows x cols table filled column by column from `values`, the layout of Vec.
ResultTable TableOfColumns(const std::vector<double>& values, int first, int rows, int cols);

// Whether every value of the table is a finite number.
bool AllFinite(const ResultTable& table);

// One yes or no per entry of a table, such as "differs significantly".
struct FlagTable {
    int rows = 0;
    int cols = 0;
    std::vector<bool> values; // row by row

    bool operator()(int i, int j) const { return values[static_cast<std::size_t>(i) * cols + j]; }
};

} // namespace talver
