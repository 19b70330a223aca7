#pragma once
// The polychoric estimate computed the straightforward way, as an
// independent check of the engine's: every cell from four calls of
// BivariateNormalCdf and BivariateNormalDensity, and the correlation that
// maximises the log-likelihood found by golden-section search on it rather
// than by the root of its score. Also used by the benchmark as the plain
// evaluation.

#include <vector>

#include "matrix/Matrix.h"

using namespace talver;

// Counts of the pairs of scores of items i and j over the observed range of
// each: row r holds item j = its maximum - r (highest score first), column c
// item i = its minimum + c. Scores are truncated toward zero; data needs at
// least one row.
Matrix* PairTable(const Matrix* data, int i, int j);

// The thresholds of a table's column item (from its column sums) and of its
// row item (from its row sums, lowest category last in the table), as
// ThresholdsOfCounts gives them.
std::vector<double> ColumnThresholds(const Matrix* table);
std::vector<double> RowThresholds(const Matrix* table);

// Fills probabilities and derivatives (rows = b.size() - 1, cols = a.size() - 1).
void ReferenceModelTables(const std::vector<double>& a, const std::vector<double>& b, double rho,
                          Matrix* probabilities, Matrix* derivatives);

// sum n log pi over the cells with cases (-infinity where such a cell has
// no probability).
double ReferenceLogLikelihood(const Matrix* table, const std::vector<double>& a, const std::vector<double>& b,
                              double rho);

// The maximiser of the log-likelihood on [-0.9999, 0.9999], to about 1e-9.
double ReferencePairCorrelation(const Matrix* table, const std::vector<double>& a, const std::vector<double>& b);

// The correlation matrix of data whose every item shows every category of
// its declared range (no failure handling).
Matrix* ReferencePolychoricMatrix(const Matrix* data);
