#pragma once
// The alpha of the intervals and critical values of an analysis.

namespace talver {

enum class AlphaLevel { Five, Ten }; // 0.05 and 0.10

} // namespace talver
