#include "stats/Polychoric.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "stats/ContingencyTable.h"
#include "stats/PolychoricPair.h"

namespace talver {

namespace {

// The sample as every item's category codes (its score truncated toward
// zero, minus the item's declared lowest score) on the rows that it holds,
// each with how often it holds it. Tables and thresholds are counted from
// these alone: every score is read once rather than once per pair, and a
// bootstrap sample needs no copy of its rows.
struct CodedSample {
    std::vector<int> weights;            // one per row held
    std::vector<std::vector<int>> codes; // per item, one per row held
    std::vector<int> categories;         // declared, per item
    std::vector<std::vector<double>> categoryCounts; // per item, lowest category first
};

// False when the sample holds no row, a score outside its item's declared
// range (or no score at all: a table larger than the item's categories,
// which no model table matches) or leaves a declared category unused.
bool CodeSample(const Matrix* data, const std::vector<int>* counts, const Matrix* itemLowest,
                const Matrix* itemHighest, CodedSample& coded)
{
    const int p = data->Cols();
    std::vector<int> rows;
    double total = 0.0;
    for (int n = 0; n < data->Rows(); ++n) {
        const int weight = counts == nullptr ? 1 : (*counts)[static_cast<std::size_t>(n)];
        if (weight > 0) {
            rows.push_back(n);
            coded.weights.push_back(weight);
            total += weight;
        }
    }
    if (rows.empty()) {
        return false;
    }
    coded.categories.resize(p);
    coded.categoryCounts.resize(p);
    for (int i = 0; i < p; ++i) {
        const double span = (*itemHighest)(i, 0) - (*itemLowest)(i, 0);
        // More categories than cases cannot all be used (and would not fit
        // in memory for an absurd range).
        if (!(span >= 0.0 && span < total)) {
            return false;
        }
        coded.categories[i] = static_cast<int>(span) + 1;
        coded.categoryCounts[i].assign(static_cast<std::size_t>(coded.categories[i]), 0.0);
    }
    coded.codes.assign(p, std::vector<int>(rows.size()));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const double* scores = data->Row(rows[k]);
        for (int i = 0; i < p; ++i) {
            const double lowest = (*itemLowest)(i, 0);
            const double score = std::trunc(scores[i]);
            if (!(score >= lowest && score <= (*itemHighest)(i, 0))) {
                return false;
            }
            const int code = static_cast<int>(score - lowest);
            coded.codes[i][k] = code;
            coded.categoryCounts[i][static_cast<std::size_t>(code)] += coded.weights[k];
        }
    }
    for (const std::vector<double>& itemCounts : coded.categoryCounts) {
        if (std::find(itemCounts.begin(), itemCounts.end(), 0.0) != itemCounts.end()) {
            return false;
        }
    }
    return true;
}

// Counts the pairs of codes of items i and j into cells, item i's code
// major: cells[ci * Kj + cj].
void CountPairs(const CodedSample& coded, int i, int j, std::vector<int>& cells)
{
    const int rowCategories = coded.categories[j];
    cells.assign(static_cast<std::size_t>(coded.categories[i] * rowCategories), 0);
    const int* codesI = coded.codes[i].data();
    const int* codesJ = coded.codes[j].data();
    const int* weights = coded.weights.data();
    const std::size_t rows = coded.weights.size();
    for (std::size_t k = 0; k < rows; ++k) {
        cells[static_cast<std::size_t>(codesI[k] * rowCategories + codesJ[k])] += weights[k];
    }
}

// The cells in the layout of PairTable: row r holds item j's highest
// category - r, column c item i's lowest + c.
Matrix* PairTableOfCells(const std::vector<int>& cells, int columnCategories, int rowCategories)
{
    Matrix* table = NewMatrix(rowCategories, columnCategories);
    for (int c = 0; c < columnCategories; ++c) {
        for (int s = 0; s < rowCategories; ++s) {
            (*table)(rowCategories - 1 - s, c) = cells[static_cast<std::size_t>(c * rowCategories + s)];
        }
    }
    return table;
}

Matrix* CorrelationsOfAllPairs(const Matrix* data, const std::vector<int>* counts, const Matrix* itemLowest,
                               const Matrix* itemHighest, Matrix* thresholds, Matrix* tables)
{
    const int p = data->Cols();
    // A range beyond int (or not a number) fails below; it cannot be cast.
    int blockSize = 0;
    for (int i = 0; i < p; ++i) {
        const double span = (*itemHighest)(i, 0) - (*itemLowest)(i, 0);
        if (span >= 0.0 && span < std::numeric_limits<int>::max()) {
            blockSize = std::max(blockSize, static_cast<int>(span) + 1);
        }
    }
    // Writing past the caller's matrices would corrupt memory: a programming error.
    if ((thresholds != nullptr && (thresholds->Rows() < p || thresholds->Cols() < blockSize - 1))
        || (tables != nullptr && (tables->Rows() < blockSize * (p * (p - 1) / 2) || tables->Cols() < blockSize))) {
        FatalMatrixError(kSubMatrixIndexError);
    }
    if (counts != nullptr && counts->size() != static_cast<std::size_t>(data->Rows())) {
        FatalMatrixError("BOOTSTRAP COUNTS DO NOT FIT THE SAMPLE");
    }

    Matrix* result = NewMatrix(p, p);
    for (int i = 0; i < p; ++i) {
        (*result)(i, i) = 1.0;
    }
    // A single item has no pair to fail.
    if (p < 2) {
        return result;
    }
    CodedSample coded;
    if (!CodeSample(data, counts, itemLowest, itemHighest, coded)) {
        return nullptr;
    }
    // An item's thresholds come from its own counts, the margin of every
    // table it is in.
    std::vector<std::vector<double>> itemThresholds(p);
    for (int i = 0; i < p; ++i) {
        itemThresholds[i] = ThresholdsOfCounts(coded.categoryCounts[i]);
        if (thresholds != nullptr) {
            for (int c = 1; c < coded.categories[i]; ++c) {
                (*thresholds)(i, c - 1) = itemThresholds[i][c];
            }
        }
    }
    std::vector<int> cells;
    int pairIndex = 0;
    for (int i = 0; i < p; ++i) {
        for (int j = i + 1; j < p; ++j, ++pairIndex) {
            MatrixScope pairScope;
            CountPairs(coded, i, j, cells);
            if (tables != nullptr) {
                // The block shows the table transposed, both items ascending.
                for (int c = 0; c < coded.categories[i]; ++c) {
                    for (int s = 0; s < coded.categories[j]; ++s) {
                        (*tables)(blockSize * pairIndex + c, s) =
                            cells[static_cast<std::size_t>(c * coded.categories[j] + s)];
                    }
                }
            }
            const Matrix* table = PairTableOfCells(cells, coded.categories[i], coded.categories[j]);
            const double r = PolychoricPairCorrelation(table, itemThresholds[i], itemThresholds[j]);
            (*result)(i, j) = r;
            (*result)(j, i) = r;
        }
    }
    return result;
}

} // namespace

Matrix* PolychoricMatrix(const Matrix* data, const Matrix* itemLowest, const Matrix* itemHighest)
{
    return CorrelationsOfAllPairs(data, nullptr, itemLowest, itemHighest, nullptr, nullptr);
}

Matrix* PolychoricMatrixWithDetails(const Matrix* data, const Matrix* itemLowest, const Matrix* itemHighest,
                                    Matrix* thresholds, Matrix* tables)
{
    return CorrelationsOfAllPairs(data, nullptr, itemLowest, itemHighest, thresholds, tables);
}

Matrix* WeightedPolychoricMatrix(const Matrix* data, const std::vector<int>& counts, const Matrix* itemLowest,
                                 const Matrix* itemHighest)
{
    return CorrelationsOfAllPairs(data, &counts, itemLowest, itemHighest, nullptr, nullptr);
}

} // namespace talver
