#include "app/RunDetails.h"

namespace talver {

ReportDetails DetailsOf(const Workspace& w)
{
    const AnalysisOptions& o = w.options;
    const std::optional<SampleSource>& source = w.columnSource;
    return {source ? SampleShown(*source, true) : w.targetFile,
            w.targetCount,
            source ? SampleShown(*source, false) : w.replicationFile,
            w.replicationCount,
            w.variableCount,
            o.factorCount,
            ExtractionMethodFromCode(o.extractionMethod),
            DispersionKindFromCode(o.dispersionKind),
            o.bootstrapSamples,
            AlphaFromCode(o.alphaCode),
            o.lowestScore,
            o.highestScore,
            w.itemNames,
            w.targetLosses,
            w.replicationLosses,
            w.groupSplit,
            w.dataWarnings};
}

} // namespace talver
