#pragma once
// Whether the upper halves of the AVX registers are in use on this thread,
// read from the processor's XINUSE bits (XGETBV with ECX = 1, bit 2 for the
// upper halves of YMM0-15). Nothing where the processor cannot say.

#include <cstdint>
#include <optional>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>

inline std::optional<bool> UpperVectorStateInUse()
{
    if (!__builtin_cpu_supports("avx")) {
        return std::nullopt;
    }
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    // XGETBV with ECX = 1 exists when CPUID leaf 0Dh, sub-leaf 1 says so
    // (EAX bit 2), and only with OSXSAVE (leaf 1, ECX bit 27).
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || (ecx & (1u << 27)) == 0 || __get_cpuid_max(0, nullptr) < 0xd) {
        return std::nullopt;
    }
    __cpuid_count(0xd, 1, eax, ebx, ecx, edx);
    if ((eax & (1u << 2)) == 0) {
        return std::nullopt;
    }
    std::uint32_t low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    return (low & (1u << 2)) != 0;
}

// Leaves the upper halves in use, as AVX code that does not clear them does.
// Plain assembly: a function compiled for AVX would get a VZEROUPPER from the
// compiler before it returns. Only for processors with AVX.
inline void DirtyUpperVectorState()
{
    __asm__ volatile("vpcmpeqd %%ymm1, %%ymm1, %%ymm1" ::: "xmm1");
}

#else

inline std::optional<bool> UpperVectorStateInUse()
{
    return std::nullopt;
}

inline void DirtyUpperVectorState() {}

#endif
