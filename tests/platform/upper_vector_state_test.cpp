// Clearing leaves the upper halves of the vector registers unused, where
// the processor can tell.

#include "platform/UpperVectorState.h"
#include "support/upper_vector_state.h"

#include <gtest/gtest.h>

using namespace talver;

namespace {

TEST(UpperVectorState, ClearingLeavesTheUpperHalvesUnused)
{
    if (!UpperVectorStateInUse().has_value()) {
        GTEST_SKIP() << "this processor does not report the use of its vector registers";
    }
    DirtyUpperVectorState();
    ASSERT_EQ(UpperVectorStateInUse(), true);
    ClearUpperVectorState();
    EXPECT_EQ(UpperVectorStateInUse(), false);
}

} // namespace
