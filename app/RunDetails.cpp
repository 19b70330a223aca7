#include "app/RunDetails.h"

namespace talver {

ReportDetails DetailsOf(const Workspace& w)
{
    const AnalysisOptions& o = w.options;
    return {w.targetFile,
            w.targetCount,
            w.replicationFile,
            w.replicationCount,
            w.variableCount,
            o.factorCount,
            ExtractionMethodFromCode(o.extractionMethod),
            DispersionKindFromCode(o.dispersionKind),
            o.bootstrapSamples,
            AlphaFromCode(o.alphaCode),
            o.lowestScore,
            o.highestScore,
            {}};
}

} // namespace talver
