#include "analyses/ResampledSolution.h"

#include "analyses/DispersionByCode.h"
#include "matrix/MatrixInPlace.h"
#include "stats/Bootstrap.h"

namespace talver {

namespace {

// Extraction from s into loadings. Matrices with an item without variance or
// with non-finite values are refused: the rotations' results would be
// meaningless and some decompositions iterate to their limits on them.
DrawFailure ExtractUsable(const Matrix* s, int sampleSize, const SolutionSettings& settings, Matrix* loadings)
{
    if (FirstDegenerateItem(s) >= 0) {
        return DrawFailure::Unusable;
    }
    if (!ExtractLoadings(s, sampleSize, settings, loadings)) {
        return DrawFailure::MaximumLikelihood;
    }
    return AllFinite(loadings) ? DrawFailure::None : DrawFailure::Unusable;
}

} // namespace

BootstrapSample WithBuffer(const Matrix* data)
{
    return {data, NewMatrix(data->Rows(), data->Cols())};
}

ResampledSolution DrawSolution(const BootstrapSample& sample, const SolutionSettings& settings,
                               RandomSource& random)
{
    const Matrix* data = sample.data;
    Matrix* buffer = sample.buffer;
    const int n = data->Rows();
    const int p = data->Cols();
    ResampledSolution result{DrawFailure::None, NewMatrix(p, p), NewMatrix(p, settings.factors)};
    MatrixScope scope;
    ResampleRows(data, buffer, random);
    const Matrix* s = DispersionByCode(buffer, settings.dispersion, settings.itemLowest, settings.itemHighest);
    for (int redraws = 0; s == nullptr;) {
        ResampleRows(data, buffer, random);
        if (++redraws == kRedrawLimit) {
            return ResampledSolution{DrawFailure::Polychoric};
        }
        s = DispersionByCode(buffer, settings.dispersion, settings.itemLowest, settings.itemHighest);
    }
    Matrix* loadings = NewMatrix(p, settings.factors);
    DrawFailure failure = ExtractUsable(s, n, settings, loadings);
    for (int redraws = 0; failure != DrawFailure::None;) {
        ResampleRows(data, buffer, random);
        if (++redraws == kRedrawLimit) {
            return ResampledSolution{failure};
        }
        s = MomentDispersion(buffer, settings.dispersion);
        loadings = NewMatrix(p, settings.factors);
        failure = ExtractUsable(s, n, settings, loadings);
    }
    CopyValues(s, result.dispersion);
    CopyValues(loadings, result.loadings);
    return result;
}

} // namespace talver
