#include "analyses/FactorMatching.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace talver {

namespace {

// Beyond this many factors the m! orders are too many to try.
constexpr int kLargestExhaustiveMatch = 8;

// |congruence| of column j of a with column k of b, for j, k < m, as a
// row-major m x m table indexed [k * m + j].
std::vector<double> CongruenceTable(const Matrix* a, const Matrix* b)
{
    const int p = a->Rows();
    const int m = a->Cols();
    std::vector<double> table(static_cast<std::size_t>(m) * m);
    for (int k = 0; k < m; ++k) {
        for (int j = 0; j < m; ++j) {
            double cross = 0.0;
            double aa = 0.0;
            double bb = 0.0;
            for (int i = 0; i < p; ++i) {
                cross += (*a)(i, j) * (*b)(i, k);
                aa += (*a)(i, j) * (*a)(i, j);
                bb += (*b)(i, k) * (*b)(i, k);
            }
            table[static_cast<std::size_t>(k) * m + j] = cross / (std::sqrt(aa) * std::sqrt(bb));
        }
    }
    return table;
}

// The value of a table entry for matching: a column without loadings (or
// not finite) matches nothing better than anything else.
double Strength(double congruence)
{
    return std::isfinite(congruence) ? std::fabs(congruence) : 0.0;
}

std::vector<int> ExhaustiveAssignment(const std::vector<double>& table, int m)
{
    std::vector<int> order(m);
    std::iota(order.begin(), order.end(), 0);
    std::vector<int> best = order;
    double bestSum = -1.0;
    do {
        double sum = 0.0;
        for (int k = 0; k < m; ++k) {
            sum += Strength(table[static_cast<std::size_t>(k) * m + order[k]]);
        }
        if (sum > bestSum) {
            bestSum = sum;
            best = order;
        }
    } while (std::next_permutation(order.begin(), order.end()));
    return best;
}

// The Hungarian algorithm in its O(m^3) form with potentials (Kuhn 1955,
// Munkres 1957), minimising the sum of -|congruence|.
std::vector<int> HungarianAssignment(const std::vector<double>& table, int m)
{
    const double infinity = std::numeric_limits<double>::infinity();
    auto cost = [&](int row, int column) { return -Strength(table[static_cast<std::size_t>(row) * m + column]); };
    // 1-based with 0 as the free sentinel, as the textbook form has it.
    std::vector<double> u(m + 1, 0.0);
    std::vector<double> v(m + 1, 0.0);
    std::vector<int> owner(m + 1, 0); // row assigned to each column
    std::vector<int> way(m + 1, 0);
    for (int row = 1; row <= m; ++row) {
        owner[0] = row;
        int column0 = 0;
        std::vector<double> minimum(m + 1, infinity);
        std::vector<bool> used(m + 1, false);
        do {
            used[column0] = true;
            const int row0 = owner[column0];
            double delta = infinity;
            int column1 = 0;
            for (int column = 1; column <= m; ++column) {
                if (used[column]) {
                    continue;
                }
                const double reduced = cost(row0 - 1, column - 1) - u[row0] - v[column];
                if (reduced < minimum[column]) {
                    minimum[column] = reduced;
                    way[column] = column0;
                }
                if (minimum[column] < delta) {
                    delta = minimum[column];
                    column1 = column;
                }
            }
            for (int column = 0; column <= m; ++column) {
                if (used[column]) {
                    u[owner[column]] += delta;
                    v[column] -= delta;
                } else {
                    minimum[column] -= delta;
                }
            }
            column0 = column1;
        } while (owner[column0] != 0);
        do {
            const int column1 = way[column0];
            owner[column0] = owner[column1];
            column0 = column1;
        } while (column0 != 0);
    }
    std::vector<int> assignment(m);
    for (int column = 1; column <= m; ++column) {
        assignment[owner[column] - 1] = column - 1;
    }
    return assignment;
}

} // namespace

Matrix* InCanonicalOrder(const Matrix* pattern)
{
    const int p = pattern->Rows();
    const int m = pattern->Cols();
    std::vector<double> squares(m, 0.0);
    std::vector<double> sums(m, 0.0);
    for (int c = 0; c < m; ++c) {
        for (int i = 0; i < p; ++i) {
            squares[c] += (*pattern)(i, c) * (*pattern)(i, c);
            sums[c] += (*pattern)(i, c);
        }
    }
    std::vector<int> order(m);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return squares[a] > squares[b]; });
    ColumnMatch match{order, std::vector<double>(m)};
    for (int k = 0; k < m; ++k) {
        match.sign[k] = sums[order[k]] < 0.0 ? -1.0 : 1.0;
    }
    return Matched(pattern, match);
}

ColumnMatch MatchColumns(const Matrix* pattern, const Matrix* reference)
{
    const int m = pattern->Cols();
    const std::vector<double> table = CongruenceTable(pattern, reference);
    ColumnMatch match;
    match.source =
        m <= kLargestExhaustiveMatch ? ExhaustiveAssignment(table, m) : HungarianAssignment(table, m);
    match.sign.resize(m);
    for (int k = 0; k < m; ++k) {
        match.sign[k] = table[static_cast<std::size_t>(k) * m + match.source[k]] < 0.0 ? -1.0 : 1.0;
    }
    return match;
}

Matrix* Matched(const Matrix* pattern, const ColumnMatch& match)
{
    const int p = pattern->Rows();
    const int m = pattern->Cols();
    Matrix* result = NewMatrix(p, m);
    for (int k = 0; k < m; ++k) {
        for (int i = 0; i < p; ++i) {
            (*result)(i, k) = match.sign[k] * (*pattern)(i, match.source[k]);
        }
    }
    return result;
}

InvarianceIndexSet WithFactorsMatched(const InvarianceIndexSet& indices, const ColumnMatch& match)
{
    InvarianceIndexSet matched = indices;
    for (std::size_t k = 0; k < match.source.size(); ++k) {
        matched.factorCongruence[k] = indices.factorCongruence[match.source[k]];
        matched.factorDiscrepancy[k] = indices.factorDiscrepancy[match.source[k]];
    }
    return matched;
}

} // namespace talver
