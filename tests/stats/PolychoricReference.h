#pragma once
// The polychoric estimate evaluated the straightforward way: every cell from
// four calls of BivariateNormalCdf and BivariateNormalDensity, the score with
// the whole-matrix operations. The engine's cached evaluation must agree
// with it bit for bit. Also used by the benchmark as the "before" case.

#include <vector>

#include "matrix/Matrix.h"

using namespace talver;

// Fills probabilities and derivatives (rows = b.size() - 1, cols = a.size() - 1).
void ReferenceModelTables(const std::vector<double>& a, const std::vector<double>& b, double rho,
                          Matrix* probabilities, Matrix* derivatives);

double ReferencePairCorrelation(const Matrix* table, const std::vector<double>& a, const std::vector<double>& b,
                                double tolerance);

// The correlation matrix of data whose every item shows every category of
// its declared range (no failure handling).
Matrix* ReferencePolychoricMatrix(const Matrix* data);
