#pragma once
// Factor extraction by the chosen method, shared by both bootstrap analyses.

#include "analyses/AnalysisCodes.h"
#include "analyses/AnalysisSettings.h"
#include "matrix/Matrix.h"

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

// Fills the caller's p x m loadings from the p x p dispersion matrix s of a
// sample of sampleSize participants. False when maximum likelihood does not
// converge; the loadings are then unchanged.
bool ExtractLoadings(const Matrix* s, int sampleSize, const SolutionSettings& settings, Matrix* loadings);

// Residual variances p x 1: the diagonal of s - L L', L unrotated.
Matrix* ResidualVariances(const Matrix* s, const Matrix* loadings);

// loadings times its Procrustes rotation towards target.
Matrix* RotatedToward(const Matrix* loadings, const Matrix* target);

} // namespace talver
