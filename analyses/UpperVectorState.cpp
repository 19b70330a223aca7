#include "analyses/UpperVectorState.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TALVER_HAS_VZEROUPPER 1
#endif

namespace talver {

#ifdef TALVER_HAS_VZEROUPPER

namespace {

// Compiled for AVX on its own; called only after the processor said it has
// AVX and the system saves its registers.
__attribute__((target("avx"))) void ZeroUpperHalves()
{
    _mm256_zeroupper();
}

bool HasAvx()
{
    static const bool hasAvx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return hasAvx;
}

} // namespace

void ClearUpperVectorState()
{
    if (HasAvx()) {
        ZeroUpperHalves();
    }
}

#else

void ClearUpperVectorState() {}

#endif

} // namespace talver
