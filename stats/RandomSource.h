#pragma once
// The pseudo-random source. One linear congruential sequence serves a whole
// program run in draw order: it starts at state 1 and is never reseeded, so a
// fresh run on the same data gives the same report and a second run in the
// same process continues the sequence. The run owns the source and hands it
// to every step that draws.

#include <cstdint>

namespace talver {

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

// One draw of `source`.
inline int NextRandom(RandomSource& source)
{
    return source.Next();
}

} // namespace talver
