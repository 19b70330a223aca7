#pragma once
// One bootstrap sample of a data matrix turned into loadings, with the
// redraws that replace samples the estimation cannot use. Draws from the
// random source it is given and touches nothing else that is shared.

#include "analyses/BootstrapTally.h"
#include "analyses/FactorSolution.h"
#include "analyses/SampleSide.h"
#include "matrix/Matrix.h"
#include "stats/RandomSource.h"

namespace talver {

enum class DrawFailure {
    None,
    // No polychoric matrix for the sample and four redraws.
    Polychoric,
    // No ML loadings for the sample and four redraws.
    MaximumLikelihood,
    // Dispersion matrices or loadings not fit for use (an item without
    // variance, values that are not finite) for the sample and four redraws.
    Unusable,
};

// The outcome of a bootstrap loop: the first sample that failed, if any.
struct SampleFailure {
    DrawFailure failure = DrawFailure::None;
    SampleSide side = SampleSide::Target;
};

struct ResampledSolution {
    DrawFailure failure = DrawFailure::None;
    // The dispersion matrix of the sample that gave the loadings (p x p) and
    // the unrotated loadings (p x m), in the caller's scope. Valid only
    // without failure.
    Matrix* dispersion = nullptr;
    Matrix* loadings = nullptr;
    // The redraws this sample needed, and whether its solution is improper
    // (a residual variance at or below zero). Counted also on failure.
    SampleTally tally{};
};

// The most redraws of one bootstrap sample: the last one is made, so that the
// random sequence advances as in every run, and then the analysis gives up.
inline constexpr int kRedrawLimit = 5;

// Resamples the rows of the data and extracts loadings. A polychoric matrix
// that cannot be estimated is redrawn as a polychoric matrix; loadings that
// cannot be extracted are redrawn with covariances (dispersion code 1) or
// Pearson correlations (any other code), never polychoric ones.
ResampledSolution DrawSolution(const Matrix* data, const SolutionSettings& settings,
                               RandomSource& random);

} // namespace talver
