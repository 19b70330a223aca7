#include "platform/UpperVectorState.h"

// GCC and clang on x86-64 only (MinGW-w64 included): other processors and
// compilers have no such state, and the function does nothing there. The
// compiler's builtin needs no intrinsics header of the processor.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TALVER_HAS_VZEROUPPER 1
#endif

namespace talver {

#ifdef TALVER_HAS_VZEROUPPER

namespace {

// Compiled for AVX on its own; called only after the processor said it has
// AVX and the system saves its registers.
__attribute__((target("avx"))) void ZeroUpperHalves()
{
    __builtin_ia32_vzeroupper();
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
