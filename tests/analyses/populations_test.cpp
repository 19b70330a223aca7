// The populations under invariance have exactly the dispersion structure
// they are built for, on the scale of each sample, whatever the variances of
// the items.

#include <gtest/gtest.h>

#include <cmath>

#include "analyses/ObservedSolution.h"
#include "analyses/Populations.h"
#include "bootstrap_test_support.h"
#include "matrix/MatrixOps.h"

using namespace talver;

namespace {

double LargestDifference(const Matrix* a, const Matrix* b)
{
    double largest = 0.0;
    for (int i = 0; i < a->Rows(); ++i) {
        for (int j = 0; j < a->Cols(); ++j) {
            largest = std::max(largest, std::fabs((*a)(i, j) - (*b)(i, j)));
        }
    }
    return largest;
}

class PopulationsTest : public BootstrapAnalysisTest {
protected:
    // The fixture samples with item standard deviations from 0.5 to 10, as
    // with items of very different ranges.
    Matrix* Rescaled(const Matrix* data)
    {
        Matrix* result = CopyOf(data);
        for (int i = 0; i < result->Rows(); ++i) {
            for (int j = 0; j < result->Cols(); ++j) {
                (*result)(i, j) *= 0.5 + 9.5 * j / (result->Cols() - 1);
            }
        }
        return result;
    }

    struct Built {
        ObservedSolution solution;
        Matrix* targetDispersion = nullptr;
        Matrix* replicationDispersion = nullptr;
        Populations populations;
    };

    Built Build(const Matrix* target, const Matrix* replication, DispersionKind kind, ExtractionMethod method)
    {
        Built built;
        auto dispersion = [kind](const Matrix* y) {
            return kind == DispersionKind::Covariance ? CovarianceMatrix(y) : CorrelationMatrix(y);
        };
        built.targetDispersion = dispersion(target);
        built.replicationDispersion = dispersion(replication);
        const SolutionSettings settings{2, method, 0.0001, kind, nullptr, nullptr};
        EXPECT_TRUE(SolveObserved(built.targetDispersion, built.replicationDispersion, settings, {}, TestRandom(),
                                  built.solution)
                        .solved);
        built.populations = InvariancePopulations(target, replication, built.targetDispersion,
                                                  built.replicationDispersion, built.solution, kind, method);
        return built;
    }
};

TEST_F(PopulationsTest, CorrelationPopulationsHaveTheModelCorrelations)
{
    const Matrix* target = Rescaled(target_);
    const Matrix* replication = Rescaled(replication_);
    for (ExtractionMethod method : {ExtractionMethod::Uls, ExtractionMethod::Ml, ExtractionMethod::Pca}) {
        const Built built = Build(target, replication, DispersionKind::Pearson, method);
        const ObservedSolution& s = built.solution;
        // Factors: the Target's model correlations; components: the Target's
        // observed correlations.
        const Matrix* sigma =
            method == ExtractionMethod::Pca
                ? built.targetDispersion
                : Plus(Product(s.targetLoadings, Transposed(s.targetLoadings)), Diag(s.targetResiduals));
        EXPECT_LT(LargestDifference(CorrelationMatrix(built.populations.target), sigma), 1e-12);
        EXPECT_LT(LargestDifference(CorrelationMatrix(built.populations.replication), sigma), 1e-12);
        // Each sample keeps its own variances.
        EXPECT_LT(LargestDifference(Diag(CovarianceMatrix(built.populations.target)), Diag(CovarianceMatrix(target))),
                  1e-9);
        EXPECT_LT(LargestDifference(Diag(CovarianceMatrix(built.populations.replication)),
                                    Diag(CovarianceMatrix(replication))),
                  1e-9);
    }
}

TEST_F(PopulationsTest, CovariancePopulationsShareTheTargetStructure)
{
    const Matrix* target = Rescaled(target_);
    const Matrix* replication = Rescaled(replication_);
    for (ExtractionMethod method : {ExtractionMethod::Uls, ExtractionMethod::Pca}) {
        const Built built = Build(target, replication, DispersionKind::Covariance, method);
        const ObservedSolution& s = built.solution;
        // The common part both share, and each sample's own residual variances.
        const Matrix* common = method == ExtractionMethod::Pca
                                   ? Minus(built.targetDispersion, Diag(s.targetResiduals))
                                   : Product(s.targetLoadings, Transposed(s.targetLoadings));
        const double scale = 100.0; // the largest variance
        EXPECT_LT(LargestDifference(CovarianceMatrix(built.populations.target), Plus(common, Diag(s.targetResiduals))),
                  1e-11 * scale);
        EXPECT_LT(LargestDifference(CovarianceMatrix(built.populations.replication),
                                    Plus(common, Diag(s.replicationResiduals))),
                  1e-11 * scale);
        if (method == ExtractionMethod::Pca) {
            // The Target population is the Target sample's own structure.
            EXPECT_LT(LargestDifference(CovarianceMatrix(built.populations.target), built.targetDispersion),
                      1e-11 * scale);
        }
    }
}

} // namespace
