#include "stats/Polychoric.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "stats/ContingencyTable.h"
#include "stats/PolychoricPair.h"

namespace talver {

namespace {

// A score outside the declared range (or no score at all) would give a table
// larger than the item's categories, which no model table matches.
bool ScoresWithinRange(const Matrix* data, int item, double lowest, double highest)
{
    if (data->Rows() == 0) {
        return false;
    }
    for (int n = 0; n < data->Rows(); ++n) {
        const double score = std::trunc((*data)(n, item));
        if (!(score >= lowest && score <= highest)) {
            return false;
        }
    }
    return true;
}

bool HasEmptyCategory(const Matrix* table, int columnCategories, int rowCategories)
{
    if (table->Cols() < columnCategories || table->Rows() < rowCategories) {
        return true;
    }
    for (int c = 0; c < table->Cols(); ++c) {
        double total = 0.0;
        for (int r = 0; r < table->Rows(); ++r) {
            total += (*table)(r, c);
        }
        if (total == 0.0) {
            return true;
        }
    }
    for (int r = 0; r < table->Rows(); ++r) {
        double total = 0.0;
        for (int c = 0; c < table->Cols(); ++c) {
            total += (*table)(r, c);
        }
        if (total == 0.0) {
            return true;
        }
    }
    return false;
}

// The block shows the table transposed, both items ascending.
void WriteTableBlock(const Matrix* table, int pairIndex, int blockSize, Matrix* tables)
{
    for (int r = 0; r < table->Cols(); ++r) {
        for (int c = 0; c < table->Rows(); ++c) {
            (*tables)(blockSize * pairIndex + r, c) = (*table)(table->Rows() - 1 - c, r);
        }
    }
}

Matrix* CorrelationsOfAllPairs(const Matrix* data, const Matrix* itemLowest, const Matrix* itemHighest,
                               Matrix* thresholds, Matrix* tables)
{
    const int p = data->Cols();
    Matrix* result = NewMatrix(p, p);
    MatrixScope scope;

    std::vector<int> categories(p);
    std::vector<bool> withinRange(p);
    for (int i = 0; i < p; ++i) {
        const double lowest = (*itemLowest)(i, 0);
        const double highest = (*itemHighest)(i, 0);
        categories[i] = static_cast<int>(highest - lowest) + 1;
        withinRange[i] = ScoresWithinRange(data, i, lowest, highest);
    }
    const int blockSize = p == 0 ? 0 : *std::max_element(categories.begin(), categories.end());
    // Writing past the caller's matrices would corrupt memory: a programming error.
    if ((thresholds != nullptr && (thresholds->Rows() < p || thresholds->Cols() < blockSize - 1))
        || (tables != nullptr && (tables->Rows() < blockSize * (p * (p - 1) / 2) || tables->Cols() < blockSize))) {
        FatalMatrixError(kSubMatrixIndexError);
    }

    for (int i = 0; i < p; ++i) {
        (*result)(i, i) = 1.0;
    }
    int pairIndex = 0;
    for (int i = 0; i < p; ++i) {
        for (int j = i + 1; j < p; ++j, ++pairIndex) {
            MatrixScope pairScope;
            if (!withinRange[i] || !withinRange[j]) {
                return nullptr;
            }
            const Matrix* table = PairTable(data, i, j);
            if (tables != nullptr) {
                WriteTableBlock(table, pairIndex, blockSize, tables);
            }
            if (HasEmptyCategory(table, categories[i], categories[j])) {
                return nullptr;
            }
            const std::vector<double> a = ColumnThresholds(table);
            const std::vector<double> b = RowThresholds(table);
            const double r = PolychoricPairCorrelation(table, a, b);
            (*result)(i, j) = r;
            (*result)(j, i) = r;

            if (thresholds != nullptr && j == i + 1) {
                for (int c = 1; c < categories[i]; ++c) {
                    (*thresholds)(i, c - 1) = a[c];
                }
                if (j == p - 1) {
                    for (int s = 1; s < categories[j]; ++s) {
                        (*thresholds)(j, s - 1) = b[s];
                    }
                }
            }
        }
    }
    return result;
}

} // namespace

Matrix* PolychoricMatrix(const Matrix* data, const Matrix* itemLowest, const Matrix* itemHighest)
{
    return CorrelationsOfAllPairs(data, itemLowest, itemHighest, nullptr, nullptr);
}

Matrix* PolychoricMatrixWithDetails(const Matrix* data, const Matrix* itemLowest, const Matrix* itemHighest,
                                    Matrix* thresholds, Matrix* tables)
{
    return CorrelationsOfAllPairs(data, itemLowest, itemHighest, thresholds, tables);
}

} // namespace talver
