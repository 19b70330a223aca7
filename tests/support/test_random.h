#pragma once
// The random sequence that a test's steps draw from, as a program run's
// would: one per test thread, set back to its start state by ResetTestRandom.

#include "stats/RandomSource.h"

inline talver::RandomSource& TestRandom()
{
    static thread_local talver::RandomSource source;
    return source;
}

inline void ResetTestRandom()
{
    TestRandom() = talver::RandomSource();
}
