#include "stats/ExactNormal.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

using namespace talver;

namespace {

TEST(ExactNormal, QuantileAgreesWithR)
{
    // p and qnorm(p) from fixtures/bivariate_normal_cdf.R, tails included.
    const double cases[][2] = {{1e-12, -7.0344838253011321},    {1e-05, -4.2648907939228256},
                               {0.0013, -3.0114537584997847},   {0.2, -0.84162123357291418},
                               {0.4999, -0.00025066283008800752}, {0.6, 0.25334710313579978},
                               {0.975, 1.9599639845400536},     {0.99997, 4.0128108111184551}};
    for (const auto& c : cases) {
        EXPECT_NEAR(ExactNormalQuantile(c[0]), c[1], 4e-16 * (1.0 + std::fabs(c[1]))) << c[0];
    }
}

TEST(ExactNormal, QuantileInvertsTheDistributionFunction)
{
    for (int count = 1; count < 3000; count += 37) {
        const double p = count / 3000.0;
        const double z = ExactNormalQuantile(p);
        EXPECT_NEAR(ExactNormalCdf(z), p, 4e-16) << p;
        // 1 - p is rounded to 1e-16, which the quantile's slope 1 / phi(z) magnifies.
        const double density = std::exp(-z * z / 2.0) / std::sqrt(2.0 * std::numbers::pi);
        EXPECT_NEAR(ExactNormalQuantile(1.0 - p), -z, 4e-16 / density) << p;
    }
}

TEST(ExactNormal, EndsAndInvalidProbabilities)
{
    EXPECT_EQ(ExactNormalQuantile(0.0), -INFINITY);
    EXPECT_EQ(ExactNormalQuantile(1.0), INFINITY);
    EXPECT_EQ(ExactNormalQuantile(0.5), 0.0);
    EXPECT_TRUE(std::isnan(ExactNormalQuantile(-0.1)));
    EXPECT_TRUE(std::isnan(ExactNormalQuantile(NAN)));
    EXPECT_EQ(ExactNormalCdf(-INFINITY), 0.0);
    EXPECT_EQ(ExactNormalCdf(INFINITY), 1.0);
    // No clamp: far tails keep their relative precision.
    EXPECT_NEAR(ExactNormalCdf(-10.0), 7.6198530241605260e-24, 1e-37);
}

} // namespace
