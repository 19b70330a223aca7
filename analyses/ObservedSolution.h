#pragma once
// The factor solution of the two observed samples, shared by both bootstrap
// analyses: unrotated loadings, residual variances, the Target loadings
// rotated by normalized Varimax and the Replication loadings rotated towards
// them by Procrustes.

#include <string>
#include <vector>

#include "analyses/FactorSolution.h"
#include "matrix/Matrix.h"
#include "stats/RandomSource.h"

namespace talver {

struct ObservedSolution {
    Matrix* targetLoadings = nullptr;       // L_T, p x m, unrotated
    Matrix* replicationLoadings = nullptr;  // L_R
    Matrix* targetResiduals = nullptr;      // diagonal of S_T - L_T L_T', p x 1
    Matrix* replicationResiduals = nullptr; // diagonal of S_R - L_R L_R'
    // L_T V, V the Varimax rotation, columns in canonical order (descending
    // sum of squared loadings, see FactorMatching.h)
    Matrix* targetPattern = nullptr;
    Matrix* replicationPattern = nullptr;   // L_R P, P the Procrustes rotation towards L_T V
};

struct ObservedOutcome {
    bool solved = false;
    // Why the analysis ends when not solved. Empty when the Varimax rotation
    // of the Target loadings was abandoned (criterion not above 0 with more
    // than one factor): the analysis then ends without a word.
    std::string warning;
};

// Checks both dispersion matrices (an item without variance or non-finite
// values, named by `itemNames` as AnalysisSettings keeps them), then solves
// both samples; the matrices of the solution are created in the caller's
// scope. Draws the random starts of one Varimax rotation unless it fails
// before the rotation.
ObservedOutcome SolveObserved(const Matrix* targetDispersion, const Matrix* replicationDispersion,
                              const SolutionSettings& settings, const std::vector<std::string>& itemNames,
                              RandomSource& random, ObservedSolution& solution);

// Number of random starts of every Varimax rotation, besides the unrotated one.
inline constexpr int kVarimaxRandomStarts = 10;

// The Target pattern of a loading matrix: loadings times their normalized
// Varimax rotation. criterion receives the rotation's criterion.
Matrix* VarimaxPattern(const Matrix* loadings, double tolerance, double& criterion, RandomSource& random);

} // namespace talver
