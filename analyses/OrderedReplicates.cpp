#include "analyses/OrderedReplicates.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "analyses/AnalysisProgress.h"
#include "matrix/Matrix.h"
#include "matrix/ThreadPoolRelease.h"

namespace talver {

namespace {

// How many replicates past the next one to commit may be taken, per thread:
// enough to stay busy while the calling thread computes or a slow replicate
// is awaited, few enough that a redraw throws little work away.
constexpr int kAheadPerThread = 8;

bool Failed(const ReplicateOutcome& outcome)
{
    return outcome.failure.failure != DrawFailure::None;
}

SampleFailure RunInTurn(const ReplicateLoop& loop, RandomSource& random, const ReplicateDrawMaker& makeDraw,
                        const ReplicateCommit& commit)
{
    MatrixScope scope;
    const ReplicateDraw draw = makeDraw();
    for (int t = 0; t < loop.count; ++t) {
        const ReplicateOutcome outcome = draw(random);
        if (Failed(outcome)) {
            return outcome.failure;
        }
        commit(t, outcome);
    }
    return {};
}

// The state that the calling thread and the workers share. One mutex guards
// it; a replicate takes it to be claimed and to be published, never while it
// is computed. The calling thread computes replicates too and commits the
// ready ones in between, so no thread waits while there is work.
class SpeculativeRun {
public:
    SpeculativeRun(const ReplicateLoop& loop, const RandomSource& origin, int threads)
        : loop_(loop), origin_(origin), ahead_(kAheadPerThread * threads), slots_(loop.count),
          assumedStarts_(loop.count), assumedDraws_(loop.count)
    {
    }

    // The body of a worker thread.
    void Work(const ReplicateDrawMaker& makeDraw)
    {
        try {
            MatrixScope scope;
            const ReplicateDraw draw = makeDraw();
            std::unique_lock lock(mutex_);
            for (;;) {
                workAvailable_.wait(lock, [this] { return stopped_ || CanClaim(); });
                if (stopped_) {
                    return;
                }
                const Claim claim = ClaimNext();
                lock.unlock();
                Compute(draw, claim);
                lock.lock();
            }
        } catch (...) {
            std::lock_guard lock(mutex_);
            if (!error_) {
                error_ = std::current_exception();
            }
            StopLocked();
        }
    }

    // The part of the calling thread: commits the replicates in order as
    // they become ready, computing one whenever the next is not ready. Ends
    // when every replicate is in, one fails, or one raised an exception (see
    // RethrowError).
    SampleFailure Lead(const ReplicateDrawMaker& makeDraw, const ReplicateCommit& commit)
    {
        MatrixScope scope;
        const ReplicateDraw draw = makeDraw();
        std::unique_lock lock(mutex_);
        while (nextCommit_ < loop_.count && !error_) {
            const int t = nextCommit_;
            if (slots_[t].ready) {
                Slot slot = CommitNext();
                if (slot.error) {
                    error_ = slot.error;
                    break;
                }
                if (Failed(slot.outcome)) {
                    StopLocked();
                    return slot.outcome.failure;
                }
                lock.unlock();
                commit(t, slot.outcome);
                lock.lock();
            } else if (CanClaim()) {
                const Claim claim = ClaimNext();
                lock.unlock();
                Compute(draw, claim);
                lock.lock();
            } else {
                slotReady_.wait(lock, [&] { return slots_[t].ready || error_; });
            }
        }
        StopLocked();
        return {};
    }

    void Stop()
    {
        std::lock_guard lock(mutex_);
        StopLocked();
    }

    // Rethrows the first exception of a replicate or a worker, once every
    // worker has ended.
    void RethrowError() const
    {
        if (error_) {
            std::rethrow_exception(error_);
        }
    }

    std::uint64_t CommittedDraws() const { return committedDraws_; }

private:
    struct Slot {
        bool ready = false;
        std::uint64_t draws = 0;
        ReplicateOutcome outcome;
        std::exception_ptr error;
    };
    struct Claim {
        int index = 0;
        std::uint64_t start = 0;
        std::uint64_t usualDraws = 0;
    };

    bool CanClaim() const { return nextClaim_ < loop_.count && nextClaim_ < nextCommit_ + ahead_; }

    // The next replicate, at the start that assumes every uncommitted one
    // before it draws its usual count.
    Claim ClaimNext()
    {
        const int t = nextClaim_;
        const std::uint64_t start =
            t == nextCommit_ ? committedDraws_ : assumedStarts_[t - 1] + assumedDraws_[t - 1];
        RandomSource source = origin_;
        source.JumpAhead(start);
        assumedStarts_[t] = start;
        assumedDraws_[t] = loop_.usualDraws(source);
        ++nextClaim_;
        return Claim{t, start, assumedDraws_[t]};
    }

    // Replicate t on a copy of the sequence jumped ahead to its assumed start.
    void Compute(const ReplicateDraw& draw, const Claim& claim)
    {
        RandomSource source = origin_;
        source.JumpAhead(claim.start);
        const RandomSource start = source;
        ReplicateOutcome outcome;
        std::exception_ptr error;
        try {
            outcome = draw(source);
        } catch (...) {
            // Raised only if this turns out to be the replicate itself, not
            // a speculation from a stale position.
            error = std::current_exception();
        }
        Publish(claim, DrawsBetween(start, source.State(), claim.usualDraws), std::move(outcome), error);
    }

    void Publish(const Claim& claim, std::uint64_t draws, ReplicateOutcome&& outcome, std::exception_ptr error)
    {
        std::lock_guard lock(mutex_);
        // A result from a position no longer assumed is stale: a redraw
        // before it moved it, and its replicate is or will be taken again.
        if (claim.index < nextCommit_ || claim.index >= nextClaim_ || claim.start != assumedStarts_[claim.index]) {
            return;
        }
        slots_[claim.index] = Slot{true, draws, std::move(outcome), error};
        if (claim.index == nextCommit_) {
            slotReady_.notify_one();
        }
    }

    // Takes the next replicate out of its slot. Ready slots hold results
    // from the position assumed now (see Publish), and for the next
    // replicate that is where the committed ones stopped drawing.
    Slot CommitNext()
    {
        const int t = nextCommit_;
        Slot slot = std::move(slots_[t]);
        slots_[t] = Slot{};
        committedDraws_ += slot.draws;
        ++nextCommit_;
        if (slot.draws != assumedDraws_[t]) {
            // Every later result assumed the usual count here.
            for (int later = nextCommit_; later < nextClaim_; ++later) {
                slots_[later].ready = false;
            }
            nextClaim_ = nextCommit_;
        }
        workAvailable_.notify_all();
        return slot;
    }

    void StopLocked()
    {
        stopped_ = true;
        workAvailable_.notify_all();
        slotReady_.notify_all();
    }

    const ReplicateLoop loop_;
    const RandomSource origin_;
    const int ahead_;
    std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable slotReady_;
    std::vector<Slot> slots_;
    // Where each claimed replicate was assumed to start, and its usual draws.
    std::vector<std::uint64_t> assumedStarts_;
    std::vector<std::uint64_t> assumedDraws_;
    int nextClaim_ = 0;
    int nextCommit_ = 0;
    std::uint64_t committedDraws_ = 0;
    bool stopped_ = false;
    std::exception_ptr error_;
};

// Stops and joins the workers on every way out, exceptions included.
class Workers {
public:
    explicit Workers(SpeculativeRun& run) : run_(run) {}
    ~Workers()
    {
        run_.Stop();
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    // Starts up to `count` workers and returns how many started: a process
    // or memory limit may refuse threads, and the run then goes on with those
    // it has (the calling thread alone, at worst).
    int Start(int count, const ReplicateDrawMaker& makeDraw, AnalysisProgress* progress)
    {
        for (int k = 0; k < count; ++k) {
            try {
                threads_.emplace_back([this, &makeDraw, progress] {
                    if (progress) {
                        progress->PrepareWorkerThread();
                    }
                    run_.Work(makeDraw);
                    ReleaseThreadPool();
                });
            } catch (const std::system_error&) {
                break;
            }
        }
        return static_cast<int>(threads_.size());
    }

private:
    SpeculativeRun& run_;
    std::vector<std::thread> threads_;
};

} // namespace

SampleFailure RunReplicatesInOrder(const ReplicateLoop& loop, RandomSource& random,
                                   const ReplicateDrawMaker& makeDraw, const ReplicateCommit& commit)
{
    const int threads = std::min(loop.threads, loop.count);
    if (threads <= 1) {
        return RunInTurn(loop, random, makeDraw, commit);
    }
    SpeculativeRun run(loop, random, threads);
    SampleFailure failure;
    {
        Workers workers(run);
        const int started = workers.Start(threads - 1, makeDraw, loop.progress);
        if (started < threads - 1 && loop.progress) {
            loop.progress->NoteThreadsRefused(started + 1, threads);
        }
        failure = run.Lead(makeDraw, commit);
    }
    run.RethrowError();
    random.JumpAhead(run.CommittedDraws());
    return failure;
}

UsualDraws FixedDraws(std::uint64_t draws)
{
    return [draws](RandomSource& random) {
        random.JumpAhead(draws);
        return draws;
    };
}

std::uint64_t DrawsBetween(const RandomSource& from, std::uint32_t to, std::uint64_t expected)
{
    RandomSource probe = from;
    probe.JumpAhead(expected);
    if (probe.State() == to) {
        return expected;
    }
    // The sequence runs through all 2^32 states before it repeats one, so
    // the first match is the count.
    probe = from;
    std::uint64_t draws = 0;
    for (; probe.State() != to; ++draws) {
        probe.Next();
    }
    return draws;
}

} // namespace talver
