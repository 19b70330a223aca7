// Every worker thread of a bootstrap loop starts clean, even when the
// thread that starts the workers has its vector registers in the slow state:
// the loop lets the run's owner prepare each worker before its first draw.

#include "analyses/OrderedReplicates.h"
#include "platform/UpperVectorState.h"
#include "support/upper_vector_state.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace talver;

namespace {

TEST(UpperVectorState, WorkerThreadsStartWithCleanRegisters)
{
    if (!UpperVectorStateInUse().has_value()) {
        GTEST_SKIP() << "this processor does not report the use of its vector registers";
    }
    const std::thread::id caller = std::this_thread::get_id();
    std::mutex mutex;
    std::vector<bool> workersDirty;
    // The run's owner clears the registers, as the run controller does.
    struct Clearing : AnalysisProgress {
        void ShowStep(const std::string&) override {}
        void ShowProgress(const std::string&) override {}
        void PrepareWorkerThread() override { ClearUpperVectorState(); }
    } progress;
    ReplicateLoop loop;
    loop.progress = &progress;
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
