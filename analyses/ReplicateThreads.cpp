#include "analyses/ReplicateThreads.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

std::atomic<int> replicateThreads{1};

} // namespace

int ReplicateThreads()
{
    return replicateThreads.load(std::memory_order_relaxed);
}

void SetReplicateThreads(int threads)
{
    replicateThreads.store(std::max(threads, 1), std::memory_order_relaxed);
}

int AvailableCores()
{
    return std::max(static_cast<int>(std::thread::hardware_concurrency()), 1);
}

ReplicateThreadsScope::ReplicateThreadsScope(int threads) : previous_(ReplicateThreads())
{
    SetReplicateThreads(threads);
}

ReplicateThreadsScope::~ReplicateThreadsScope()
{
    SetReplicateThreads(previous_);
}
