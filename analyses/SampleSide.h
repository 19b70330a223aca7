#pragma once
// Which of the two samples a result or a failure belongs to.

namespace talver {

enum class SampleSide { Target, Replication };

// "Target" or "Replication".
inline const char* SampleName(SampleSide side)
{
    return side == SampleSide::Target ? "Target" : "Replication";
}

} // namespace talver
