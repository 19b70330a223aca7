#pragma once
// Time limits of tests that guard against slow (say, quadratic) code. The
// sanitizers slow every instruction down several times, so their builds get a
// limit ten times as long: still far below what a quadratic reader would take.

#if defined(__SANITIZE_ADDRESS__)
#define TALVER_TESTS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TALVER_TESTS_SANITIZED 1
#endif
#endif

#ifdef TALVER_TESTS_SANITIZED
inline constexpr double kTimeLimitFactor = 10.0;
#else
inline constexpr double kTimeLimitFactor = 1.0;
#endif
