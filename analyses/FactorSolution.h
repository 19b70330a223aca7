#pragma once
// Factor extraction by the chosen method, shared by both bootstrap analyses.

#include "analyses/AnalysisCodes.h"
#include "analyses/AnalysisSettings.h"
#include "matrix/Matrix.h"

#include <vector>

namespace talver {

// What the bootstrap analyses need to turn a data matrix into loadings.
struct SolutionSettings {
    int factors = 0;
    ExtractionMethod method = ExtractionMethod::Uls;
    double tolerance = 0.0;
    DispersionKind dispersion = DispersionKind::Covariance;
    // The declared score range of every item, for polychoric matrices only.
    const Matrix* itemLowest = nullptr;
    const Matrix* itemHighest = nullptr;
};

// The settings of an analysis, with the dispersion matrix it analyses.
SolutionSettings SolutionSettingsOf(const AnalysisSettings& settings, DispersionKind analysed);

// Fills the caller's p x m loadings from the p x p dispersion matrix s. False
// when maximum likelihood does not converge; the loadings are then unchanged.
bool ExtractLoadings(const Matrix* s, const SolutionSettings& settings, Matrix* loadings);

// Residual variances p x 1: the diagonal of s - L L', L unrotated; one
// within 1e-10 of its item's variance of zero (at the bound) is exactly 0.
Matrix* ResidualVariances(const Matrix* s, const Matrix* loadings);

// Whether an item's residual variance is at or below zero (a Heywood case).
// ULS holds a unique variance at 0 and scales the item's loadings to its
// variance, so the residual of such an item is zero only up to rounding:
// within 1e-10 of the item's variance counts as zero.
bool ResidualAtOrBelowZero(double residual, double variance);

// The items (from 1) whose residual variance (p x 1) is at or below zero.
std::vector<int> ImproperItems(const Matrix* residuals, const Matrix* s);

// loadings times its Procrustes rotation towards target.
Matrix* RotatedToward(const Matrix* loadings, const Matrix* target);

} // namespace talver
