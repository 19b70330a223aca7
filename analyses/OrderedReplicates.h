#pragma once
// Runs the replicates of a bootstrap loop on several threads with the results
// of one thread drawing them in turn: the same rows, the same failure, the
// same progress counter and the random source left at the same state.
//
// Replicate t starts where replicate t - 1 stopped drawing, which is known
// only once t - 1 is done. Every thread, the calling one included, therefore
// computes t from the position that assumes every uncommitted replicate
// before it draws its usual count (the draws it makes when no sample is
// redrawn, found cheaply from where it starts), on its own copy of the
// sequence jumped ahead to there. The calling thread commits the replicates in order; a
// replicate that drew another count (its samples were redrawn) moves every
// later one, whose speculative results are then thrown away and computed
// again from the corrected positions.

#include <cstdint>
#include <functional>
#include <vector>

#include "analyses/AnalysisProgress.h"
#include "analyses/ResampledSolution.h"
#include "stats/RandomSource.h"

namespace talver {

// What one replicate gives: the first of its halves that failed with all its
// redraws, or the rows it adds to the replicate matrices.
struct ReplicateOutcome {
    SampleFailure failure;
    std::vector<double> target;
    std::vector<double> replication;
    // The redraws and improper solutions of its samples.
    ReplicateTally tally{};
};

// Computes one replicate, drawing from the source it is given only.
using ReplicateDraw = std::function<ReplicateOutcome(RandomSource& random)>;
// Makes the draw of one thread: called on that thread inside a scope of its
// pool, so whatever the draw keeps belongs to that thread.
using ReplicateDrawMaker = std::function<ReplicateDraw()>;
// Receives replicate t on the calling thread, in order.
using ReplicateCommit = std::function<void(int t, const ReplicateOutcome& outcome)>;

// Moves `random` on by the draws of a replicate whose samples need no
// redraw, without computing it, and returns how many that took.
using UsualDraws = std::function<std::uint64_t(RandomSource& random)>;

// The usual draws of a replicate that always makes `draws` draws when no
// sample is redrawn.
UsualDraws FixedDraws(std::uint64_t draws);

struct ReplicateLoop {
    int count = 0;
    UsualDraws usualDraws;
    // 1 computes every replicate on the calling thread.
    int threads = 1;
    // Told when the system refuses some of the threads; the replicates are
    // then computed by those that started (the results are the same).
    AnalysisProgress* progress = nullptr;
};

// Computes replicates 0 .. count - 1 and commits them in order, stopping at
// the first that fails; returns that failure. `random` is left where drawing
// the replicates in turn from it leaves it, the draws of a failed one
// included. An exception of a replicate reaches the caller.
SampleFailure RunReplicatesInOrder(const ReplicateLoop& loop, RandomSource& random,
                                   const ReplicateDrawMaker& makeDraw, const ReplicateCommit& commit);

// How many draws of `from` lead to state `to`, trying `expected` first.
std::uint64_t DrawsBetween(const RandomSource& from, std::uint32_t to, std::uint64_t expected);

} // namespace talver
