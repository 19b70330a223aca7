#include "stats/RandomSource.h"

#include <cstdint>
#include <thread>

#include <gtest/gtest.h>

#include "matrix/Matrix.h"
#include "stats/RandomMatrix.h"
#include "support/test_random.h"

using namespace talver;

namespace {

TEST(RandomSource, FreshProcessSequence)
{
    ResetTestRandom();
    EXPECT_EQ(NextRandom(TestRandom()), 41);
    EXPECT_EQ(TestRandom().State(), 2745024u);
    EXPECT_EQ(NextRandom(TestRandom()), 18467);
    EXPECT_EQ(NextRandom(TestRandom()), 6334);
    EXPECT_EQ(NextRandom(TestRandom()), 26500);
    // Drawing goes on from where it stopped; nothing restarts it.
    RandomSource reference;
    reference.JumpAhead(4);
    EXPECT_EQ(NextRandom(TestRandom()), reference.Next());
}

TEST(RandomSource, JumpAheadEqualsSingleSteps)
{
    for (std::uint64_t n : {0ull, 1ull, 2ull, 3ull, 7ull, 64ull, 1000ull, 123457ull, 10000019ull}) {
        RandomSource stepped(12345u);
        for (std::uint64_t i = 0; i < n; ++i) {
            stepped.Next();
        }
        RandomSource jumped(12345u);
        jumped.JumpAhead(n);
        EXPECT_EQ(jumped.State(), stepped.State()) << "n = " << n;
    }
}

TEST(RandomSource, JumpAheadWrapsWithThePeriod)
{
    // The generator has full period 2^32.
    const std::uint64_t period = 1ull << 32;
    RandomSource start(777u);

    RandomSource full(777u);
    full.JumpAhead(period);
    EXPECT_EQ(full.State(), start.State());

    // One step short of the period is one step behind the start.
    RandomSource almost(777u);
    almost.JumpAhead(period - 1);
    EXPECT_NE(almost.State(), start.State());
    RandomSource largest(777u);
    largest.JumpAhead(UINT64_MAX);
    EXPECT_EQ(largest.State(), almost.State());
    almost.Next();
    EXPECT_EQ(almost.State(), start.State());

    RandomSource beyond(777u);
    beyond.JumpAhead(5 * period + 9);
    RandomSource nine(777u);
    nine.JumpAhead(9);
    EXPECT_EQ(beyond.State(), nine.State());
}

TEST(RandomMatrix, FillsFromTheDrawsAndSpendsOneExtra)
{
    RandomSource source;
    MatrixScope scope;
    // Draws 41, 18467, 6334, 26500 fill the matrix; the fifth is spent unused.
    const Matrix* m = RandomMatrix(2, 2, source);
    ASSERT_EQ(m->Rows(), 2);
    ASSERT_EQ(m->Cols(), 2);
    EXPECT_NEAR((*m)(0, 0), 10.056, 1e-12);
    EXPECT_NEAR((*m)(0, 1), 113.148, 1e-12);
    EXPECT_NEAR((*m)(1, 0), 80.962, 1e-12);
    EXPECT_NEAR((*m)(1, 1), 121.134, 1e-12);
    RandomSource fiveDraws;
    fiveDraws.JumpAhead(5);
    EXPECT_EQ(source.State(), fiveDraws.State());
}

} // namespace
