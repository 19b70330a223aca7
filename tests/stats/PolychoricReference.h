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
