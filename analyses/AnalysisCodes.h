#pragma once
// The choices of an analysis as types, and the one place where the integer
// codes of the options dialog become them. Every consumer of a code reads
// it through these conversions, which apply the dialog's "any other value"
// rules.

#include "stats/AlphaLevel.h"

namespace talver {

enum class ExtractionMethod { Uls, Pca, Ml };
enum class DispersionKind { Covariance, Pearson, Polychoric };

// The codes the options dialog stores.
inline constexpr int kMethodUls = 1;
inline constexpr int kMethodPca = 2;
inline constexpr int kMethodMl = 3;
inline constexpr int kDispersionCovariance = 1;
inline constexpr int kDispersionPearson = 2;
inline constexpr int kDispersionPolychoric = 3;
inline constexpr int kAlpha05 = 5;
inline constexpr int kAlpha10 = 10;

// 1 ULS, 2 PCA, any other value ML.
ExtractionMethod ExtractionMethodFromCode(int code);
// 1 covariances, 2 Pearson correlations, any other value polychoric.
DispersionKind DispersionKindFromCode(int code);
// 5 alpha 0.05, any other value 0.10.
AlphaLevel AlphaFromCode(int code);

// 0.05 or 0.10, and the same as the report prints it.
double AlphaValue(AlphaLevel alpha);
const char* AlphaText(AlphaLevel alpha);

// The tolerance the run hands to the bootstrap analyses' extraction and
// rotation routines.
inline constexpr double kAnalysisTolerance = 0.0001;

} // namespace talver
