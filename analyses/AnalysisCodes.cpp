#include "analyses/AnalysisCodes.h"

namespace talver {

ExtractionMethod ExtractionMethodFromCode(int code)
{
    switch (code) {
    case kMethodUls: return ExtractionMethod::Uls;
    case kMethodPca: return ExtractionMethod::Pca;
    default: return ExtractionMethod::Ml;
    }
}

DispersionKind DispersionKindFromCode(int code)
{
    switch (code) {
    case kDispersionCovariance: return DispersionKind::Covariance;
    case kDispersionPearson: return DispersionKind::Pearson;
    default: return DispersionKind::Polychoric;
    }
}

AlphaLevel AlphaFromCode(int code)
{
    return code == kAlpha05 ? AlphaLevel::Five : AlphaLevel::Ten;
}

double AlphaValue(AlphaLevel alpha)
{
    return alpha == AlphaLevel::Five ? 0.05 : 0.10;
}

const char* AlphaText(AlphaLevel alpha)
{
    return alpha == AlphaLevel::Five ? "0.05" : "0.10";
}

} // namespace talver
