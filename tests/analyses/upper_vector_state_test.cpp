// The vector registers are left clean for the computation: by the clearing
// itself, and on every worker thread of a bootstrap loop even when the
// thread that starts the workers has them in the slow state.

#include "analyses/OrderedReplicates.h"
#include "analyses/UpperVectorState.h"
#include "support/upper_vector_state.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

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

TEST(UpperVectorState, WorkerThreadsStartWithCleanRegisters)
{
    if (!UpperVectorStateInUse().has_value()) {
        GTEST_SKIP() << "this processor does not report the use of its vector registers";
    }
    const std::thread::id caller = std::this_thread::get_id();
    std::mutex mutex;
    std::vector<bool> workersDirty;
    ReplicateLoop loop;
    loop.count = 32;
    loop.usualDraws = FixedDraws(1);
    loop.threads = 3;
    RandomSource random;
    // A new thread gets its creator's registers; the caller's are left
    // dirty here, as a window's painting leaves them.
    DirtyUpperVectorState();
    const ReplicateDrawMaker makeDraw = [&] {
        if (std::this_thread::get_id() != caller) {
            std::lock_guard lock(mutex);
            workersDirty.push_back(UpperVectorStateInUse() == true);
        }
        return ReplicateDraw([](RandomSource& source) {
            source.Next();
            return ReplicateOutcome{};
        });
    };
    RunReplicatesInOrder(loop, random, makeDraw, [](int, const ReplicateOutcome&) {});
    ClearUpperVectorState();
    EXPECT_EQ(workersDirty, std::vector<bool>(2, false));
}

} // namespace
