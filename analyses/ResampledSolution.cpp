#include "analyses/ResampledSolution.h"

#include "analyses/DispersionByCode.h"
#include "matrix/MatrixInPlace.h"
#include "matrix/MatrixOps.h"
#include "stats/Bootstrap.h"
#include "stats/Polychoric.h"

#include <optional>
#include <vector>

namespace talver {

namespace {

// Extraction from s into loadings. Matrices with an item without variance or
// with non-finite values are refused: the rotations' results would be
// meaningless and some decompositions iterate to their limits on them.
// Returns why the sample must be drawn again, if it must.
std::optional<RedrawReason> ExtractUsable(const Matrix* s, const SolutionSettings& settings, Matrix* loadings)
{
    if (const int item = FirstDegenerateItem(s); item >= 0) {
        return (*s)(item, item) <= 0.0 ? RedrawReason::NoVariance : RedrawReason::NotFinite;
    }
    if (!ExtractLoadings(s, settings, loadings)) {
        return RedrawReason::NotConverged;
    }
    if (!AllFinite(loadings)) {
        return RedrawReason::NotFinite;
    }
    return std::nullopt;
}

DrawFailure FailureOf(RedrawReason reason)
{
    return reason == RedrawReason::NotConverged ? DrawFailure::MaximumLikelihood : DrawFailure::Unusable;
}

// Whether an item's residual variance, the diagonal of s - L L' summed as
// the matrix product does, is at or below zero.
bool Improper(const Matrix* s, const Matrix* loadings)
{
    for (int i = 0; i < s->Rows(); ++i) {
        const double* row = loadings->Row(i);
        double communality = 0.0;
        for (int c = 0; c < loadings->Cols(); ++c) {
            communality += row[c] * row[c];
        }
        if (ResidualAtOrBelowZero((*s)(i, i) - communality, (*s)(i, i))) {
            return true;
        }
    }
    return false;
}

} // namespace

ResampledSolution DrawSolution(const Matrix* data, const SolutionSettings& settings,
                               RandomSource& random)
{
    const int p = data->Cols();
    ResampledSolution result{DrawFailure::None, NewMatrix(p, p), NewMatrix(p, settings.factors), {}};
    RedrawCounts& redraws = result.tally.redraws;
    MatrixScope scope;
    // Every matrix needs only how often each row was drawn, not a copy of
    // the rows.
    std::vector<int> counts;
    auto polychoricOfNewSample = [&]() -> const Matrix* {
        ResampleCounts(data->Rows(), counts, random);
        return WeightedPolychoricMatrix(data, counts, settings.itemLowest, settings.itemHighest);
    };
    auto momentsOfNewSample = [&]() -> const Matrix* {
        ResampleCounts(data->Rows(), counts, random);
        return settings.dispersion == DispersionKind::Covariance ? WeightedCovarianceMatrix(data, counts)
                                                                 : WeightedCorrelationMatrix(data, counts);
    };
    const Matrix* s = nullptr;
    if (settings.dispersion == DispersionKind::Polychoric) {
        s = polychoricOfNewSample();
        while (s == nullptr) {
            // The sample was drawn within the declared score range, so a
            // missing polychoric matrix means an item lost one of its
            // categories.
            redraws.Add(RedrawReason::EmptyCategory);
            if (redraws.emptyCategory == kRedrawLimit) {
                // The draw that the limit makes is still taken, as the
                // random stream of the replicates after it expects.
                ResampleCounts(data->Rows(), counts, random);
                result.failure = DrawFailure::Polychoric;
                return result;
            }
            s = polychoricOfNewSample();
        }
    } else {
        s = momentsOfNewSample();
    }
    Matrix* loadings = NewMatrix(p, settings.factors);
    std::optional<RedrawReason> reason = ExtractUsable(s, settings, loadings);
    for (int extractionRedraws = 0; reason;) {
        redraws.Add(*reason);
        if (++extractionRedraws == kRedrawLimit) {
            // The draw that the limit makes is still taken, as the
            // random stream of the replicates after it expects.
            SkipResampleDraws(random, data->Rows());
            result.failure = FailureOf(*reason);
            return result;
        }
        s = momentsOfNewSample();
        loadings = NewMatrix(p, settings.factors);
        reason = ExtractUsable(s, settings, loadings);
    }
    result.tally.improperSolutions = Improper(s, loadings) ? 1 : 0;
    CopyValues(s, result.dispersion);
    CopyValues(loadings, result.loadings);
    return result;
}

} // namespace talver
