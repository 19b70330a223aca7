#pragma once
// How many threads compute the replicates of the bootstrap analyses. The
// reports do not depend on it; 1, the default, computes everything on the
// calling thread.

int ReplicateThreads();
void SetReplicateThreads(int threads);

// The number of cores of this machine, at least 1.
int AvailableCores();

// Sets the thread count for its lifetime and then puts the previous one back.
class ReplicateThreadsScope {
public:
    explicit ReplicateThreadsScope(int threads);
    ~ReplicateThreadsScope();
    ReplicateThreadsScope(const ReplicateThreadsScope&) = delete;
    ReplicateThreadsScope& operator=(const ReplicateThreadsScope&) = delete;

private:
    int previous_;
};
