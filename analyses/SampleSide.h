#pragma once
// Which of the two samples a result or a failure belongs to.

enum class SampleSide { Target, Replication };

// "Target" or "Replication".
inline const char* SampleName(SampleSide side)
{
    return side == SampleSide::Target ? "Target" : "Replication";
}
