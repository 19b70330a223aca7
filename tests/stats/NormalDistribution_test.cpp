#include "stats/NormalDistribution.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using namespace talver;

namespace {

// Phi from the library's complementary error function, independent of the
// quantile approximation.
double ReferenceCdf(double x)
{
    return 0.5 * std::erfc(-x / std::sqrt(2.0));
}

TEST(NormalQuantile, OutsideTheOpenUnitIntervalIsZero)
{
    EXPECT_EQ(NormalQuantile(0.5), 0.0);
    EXPECT_EQ(NormalQuantile(0.0), 0.0);
    EXPECT_EQ(NormalQuantile(1.0), 0.0);
    EXPECT_EQ(NormalQuantile(-0.3), 0.0);
    EXPECT_EQ(NormalQuantile(1.7), 0.0);
}

TEST(NormalQuantile, KnownDeviates)
{
    EXPECT_NEAR(NormalQuantile(0.975), 1.95996, 0.000005);
    EXPECT_NEAR(NormalQuantile(0.025), -1.95996, 0.000005);
    EXPECT_NEAR(NormalQuantile(0.95), 1.644854, 0.000005);
    EXPECT_NEAR(NormalQuantile(0.841344746), 1.0, 0.000005);
}

TEST(NormalQuantile, CentralAndTailFormulasMeetAtTheSwitch)
{
    // 0.08 and 0.92 sit on the switch; the neighbours are clearly inside
    // one region or the other.
    for (double p : {0.08, 0.92}) {
        const double sign = p < 0.5 ? -1.0 : 1.0;
        const double inner = NormalQuantile(p - sign * 1e-9);
        const double outer = NormalQuantile(p + sign * 1e-9);
        EXPECT_NEAR(sign * inner, 1.405, 0.0005);
        EXPECT_NEAR(inner, outer, 1e-6);
    }
}

TEST(NormalQuantile, InvertsTheDistributionFunctionEverywhere)
{
    // About 5e-10 absolute in the centre; the tail formula holds about
    // 2.5e-5 of the tail probability out to p = 0.00001.
    for (double p = 0.00001; p < 1.0; p += 0.00037) {
        const double z = NormalQuantile(p);
        EXPECT_NEAR(ReferenceCdf(z), p, std::fmax(1e-9, 3e-5 * std::fmin(p, 1.0 - p))) << "p = " << p;
    }
}

TEST(NormalCdf, FixedPointsAndClamps)
{
    EXPECT_EQ(NormalCdf(0.0), 0.5);
    EXPECT_EQ(NormalCdf(-4.0), 0.00001);
    EXPECT_EQ(NormalCdf(4.0), 0.99999);
    EXPECT_EQ(NormalCdf(-100.0), 0.00001);
    EXPECT_EQ(NormalCdf(5.0), 0.99999);
    EXPECT_EQ(NormalCdf(-std::numeric_limits<double>::infinity()), 0.00001);
    EXPECT_EQ(NormalCdf(std::numeric_limits<double>::infinity()), 0.99999);
}

TEST(NormalCdf, NotANumberComesBackInsteadOfLoopingForever)
{
    EXPECT_TRUE(std::isnan(NormalCdf(std::numeric_limits<double>::quiet_NaN())));
}

TEST(NormalCdf, IsConsistentWithTheQuantile)
{
    // The first trial probability is 0.75 and passes at once.
    EXPECT_EQ(NormalCdf(NormalQuantile(0.75)), 0.75);
    EXPECT_EQ(NormalCdf(NormalQuantile(0.25)), 0.25);
    EXPECT_NEAR(NormalCdf(1.96), 0.975, 0.00001);
    EXPECT_NEAR(NormalCdf(0.00005), 0.5, 0.00005);
}

TEST(NormalCdf, EndsAndStaysWithinTheBisectionToleranceAcrossTheRange)
{
    // The deviate is matched to 0.0001, so the probability to about
    // phi(x) * 0.0001 <= 0.00004.
    for (double x = -3.9995; x < 4.0; x += 0.001) {
        EXPECT_NEAR(NormalCdf(x), ReferenceCdf(x), 0.00005) << "x = " << x;
    }
    EXPECT_NEAR(NormalCdf(std::nextafter(-4.0, 0.0)), ReferenceCdf(-4.0), 1e-7);
    EXPECT_NEAR(NormalCdf(std::nextafter(4.0, 0.0)), ReferenceCdf(4.0), 1e-7);
    EXPECT_NEAR(NormalCdf(1e-300), 0.5, 0.00005);
}

} // namespace
