// The whole residual-variance analysis does not depend on the order of the
// items, Heywood items included: the bootstrap draws rows whatever their
// columns, so the items reversed meet the same samples, and every residual
// variance, interval bound and flag must come out reversed and otherwise the
// same. A residual held at its bound is exactly 0 in every replicate, so its
// interval cannot follow the sign of rounding in one order or the other.

#include "bootstrap_test_support.h"

#include "analyses/ItemDiscriminations.h"

#include <cmath>

using namespace talver;

namespace {

// ULS stops within about 1e-10 of its minimum from either side, well
// inside 1e-9 (the extraction's own item-order test allows the same).
constexpr double kStopRule = 1e-9;

// The data with item 2 the sum and item 3 the difference of items 1 and 4:
// items 2 and 3 correlate with item 1 far more than with each other, which
// one factor can only fit with more common variance than item 1 has (a
// Heywood case). Columns in the given order.
Matrix* WithHeywoodItem(const Matrix* data, bool reversed)
{
    const int p = data->Cols();
    Matrix* result = NewMatrix(data->Rows(), p);
    for (int i = 0; i < data->Rows(); ++i) {
        for (int j = 0; j < p; ++j) {
            const double* row = data->Row(i);
            const double value = j == 1 ? row[0] + row[3] : j == 2 ? row[0] - row[3] : row[j];
            (*result)(i, reversed ? p - 1 - j : j) = value;
        }
    }
    return result;
}

DiscriminationResults Discriminate(const Matrix* target, const Matrix* replication, ExtractionMethod method)
{
    RecordingDisplay display;
    RandomSource random(20261209u);
    ComputeContext context{display, random, 2};
    AnalysisSettings settings;
    settings.factorCount = 1;
    settings.bootstrapSamples = 200;
    settings.method = method;
    DiscriminationOutcome outcome = ComputeItemDiscriminations(target, replication, settings, context);
    EXPECT_TRUE(outcome.results.has_value()) << outcome.warning;
    return outcome.results.value_or(DiscriminationResults{});
}

void ExpectReversed(const ResultTable& original, const ResultTable& reversed, const char* what)
{
    ASSERT_EQ(original.rows, reversed.rows) << what;
    for (int i = 0; i < original.rows; ++i) {
        EXPECT_NEAR(original(i, 0), reversed(original.rows - 1 - i, 0), kStopRule) << what << ", item " << i + 1;
    }
}

void ExpectReversed(const SampleDiscriminations& original, const SampleDiscriminations& reversed)
{
    ExpectReversed(original.residualVariances, reversed.residualVariances, "residual variance");
    ExpectReversed(original.residualLower, reversed.residualLower, "lower bound");
    ExpectReversed(original.residualUpper, reversed.residualUpper, "upper bound");
}

TEST_F(BootstrapAnalysisTest, HeywoodIntervalsAndFlagsDoNotDependOnTheItemOrder)
{
    // Items 1 to 3 are collinear, which maximum likelihood refuses: ULS is
    // the method whose minimum could depend on the order.
    for (ExtractionMethod method : {ExtractionMethod::Uls}) {
        const DiscriminationResults original =
            Discriminate(WithHeywoodItem(target_, false), WithHeywoodItem(replication_, false), method);
        const DiscriminationResults reversed =
            Discriminate(WithHeywoodItem(target_, true), WithHeywoodItem(replication_, true), method);
        ASSERT_FALSE(original.improperTargetItems.empty())
            << "the job must hold a Heywood case; item 1's residual variance is "
            << original.target.residualVariances(0, 0);
        const int p = original.residualDifferences.rows;
        std::vector<int> mirrored;
        for (auto it = reversed.improperTargetItems.rbegin(); it != reversed.improperTargetItems.rend(); ++it) {
            mirrored.push_back(p + 1 - *it);
        }
        EXPECT_EQ(original.improperTargetItems, mirrored);
        ExpectReversed(original.target, reversed.target);
        ExpectReversed(original.replication, reversed.replication);
        ExpectReversed(original.residualDifferences, reversed.residualDifferences, "difference");
        for (int i = 0; i < p; ++i) {
            EXPECT_EQ(original.residualSignificant(i, 0), reversed.residualSignificant(p - 1 - i, 0))
                << "flag of item " << i + 1;
        }
    }
}

} // namespace
