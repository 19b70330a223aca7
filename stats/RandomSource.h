#pragma once
// The pseudo-random source. One linear congruential sequence serves the whole
// program run in draw order: it starts at state 1 and is never reseeded, so a
// fresh run on the same data gives the same report and a second run in the
// same process continues the sequence.

#include <cstdint>

class RandomSource {
public:
    static constexpr std::uint32_t kInitialState = 1;
    static constexpr int kMaxValue = 0x7FFF;

    explicit RandomSource(std::uint32_t state = kInitialState) : state_(state) {}

    // One draw, 0 to 32767.
    int Next();

    // Moves n draws ahead in O(log n) steps, as if Next had been called n times.
    void JumpAhead(std::uint64_t n);

    std::uint32_t State() const { return state_; }

private:
    std::uint32_t state_;
};

// The source the calling thread draws from: the process-wide one unless a
// RandomSourceOverride is active on this thread.
RandomSource& CurrentRandomSource();

// One draw of the current source.
int NextRandom();

// While alive, makes `source` the calling thread's current source, so a
// worker can draw its own stretch of the sequence (a copy of the process
// source jumped ahead) without touching the shared state.
class RandomSourceOverride {
public:
    explicit RandomSourceOverride(RandomSource& source);
    ~RandomSourceOverride();
    RandomSourceOverride(const RandomSourceOverride&) = delete;
    RandomSourceOverride& operator=(const RandomSourceOverride&) = delete;

private:
    RandomSource* previous_;
};

// Puts the process-wide source back to its start state. Tests only: the
// program itself never reseeds.
void ResetRandomSourceForTesting();
