#include "stats/RandomSource.h"

namespace talver {

namespace {

// state = state * kMultiplier + kIncrement (mod 2^32).
constexpr std::uint32_t kMultiplier = 214013u;
constexpr std::uint32_t kIncrement = 2531011u;

} // namespace

int RandomSource::Next()
{
    state_ = state_ * kMultiplier + kIncrement;
    return static_cast<int>((state_ >> 16) & kMaxValue);
}

void RandomSource::JumpAhead(std::uint64_t n)
{
    // The affine map x -> a x + c, squared for each bit of n and applied
    // where the bit is set; unsigned arithmetic wraps modulo 2^32 as the
    // single step does.
    std::uint32_t a = kMultiplier;
    std::uint32_t c = kIncrement;
    while (n != 0) {
        if ((n & 1u) != 0) {
            state_ = state_ * a + c;
        }
        c = c * a + c;
        a = a * a;
        n >>= 1;
    }
}

} // namespace talver
