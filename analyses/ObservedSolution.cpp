#include "analyses/ObservedSolution.h"

#include "analyses/AnalysisWarnings.h"
#include "analyses/DispersionByCode.h"
#include "analyses/FactorMatching.h"
#include "factor/Varimax.h"
#include "matrix/MatrixInPlace.h"
#include "matrix/MatrixOps.h"

namespace talver {

namespace {

// Kaiser normalisation of the rows while rotating.
constexpr int kNormalizeRows = 1;

} // namespace

Matrix* VarimaxPattern(const Matrix* loadings, double tolerance, double& criterion, RandomSource& random)
{
    Matrix* result = NewMatrix(loadings->Rows(), loadings->Cols());
    MatrixScope scope;
    const Matrix* rotation = VarimaxRotation(loadings, tolerance, criterion, kVarimaxRandomStarts, kNormalizeRows, random);
    CopyValues(Product(loadings, rotation), result);
    return result;
}

ObservedOutcome SolveObserved(const Matrix* targetDispersion, const Matrix* replicationDispersion,
                              const SolutionSettings& settings, const std::vector<std::string>& itemNames,
                              RandomSource& random, ObservedSolution& solution)
{
    if (const int item = FirstDegenerateItem(targetDispersion); item >= 0) {
        return {false, DegenerateItemWarning(SampleSide::Target, item, itemNames)};
    }
    if (const int item = FirstDegenerateItem(replicationDispersion); item >= 0) {
        return {false, DegenerateItemWarning(SampleSide::Replication, item, itemNames)};
    }
    const int p = targetDispersion->Rows();
    const int m = settings.factors;
    solution.targetLoadings = NewMatrix(p, m);
    solution.replicationLoadings = NewMatrix(p, m);
    const bool targetExtracted = ExtractLoadings(targetDispersion, settings, solution.targetLoadings);
    const bool replicationExtracted = ExtractLoadings(replicationDispersion, settings, solution.replicationLoadings);
    if (!targetExtracted || !replicationExtracted) {
        return {false, kMaximumLikelihoodWarning};
    }
    if (!AllFinite(solution.targetLoadings)) {
        return {false, NonFiniteLoadingsWarning(SampleSide::Target)};
    }
    if (!AllFinite(solution.replicationLoadings)) {
        return {false, NonFiniteLoadingsWarning(SampleSide::Replication)};
    }
    solution.targetResiduals = ResidualVariances(targetDispersion, solution.targetLoadings);
    solution.replicationResiduals = ResidualVariances(replicationDispersion, solution.replicationLoadings);
    double criterion = 0.0;
    solution.targetPattern = NewMatrix(p, m);
    {
        // Which Varimax start wins, and so the order of its columns, is
        // decided by rounding: the factors are put in one order.
        MatrixScope scope;
        CopyValues(InCanonicalOrder(VarimaxPattern(solution.targetLoadings, settings.tolerance, criterion, random)),
                   solution.targetPattern);
    }
    // With one factor the criterion is 0 but for rounding: one factor is a
    // valid setting, so only a rotation of several factors can fail here.
    if (m > 1 && !(criterion > 0.0)) {
        return {false, ""};
    }
    solution.replicationPattern = RotatedToward(solution.replicationLoadings, solution.targetPattern);
    if (!AllFinite(solution.replicationPattern)) {
        return {false, NonFiniteRotationWarning()};
    }
    return {true, ""};
}

} // namespace talver
