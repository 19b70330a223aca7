#include "report/JsonReport.h"

#include "report/ItemNames.h"
#include "report/JsonWriter.h"
#include "report/ResultsInWords.h"

namespace talver {

namespace {

const char* MethodName(ExtractionMethod method)
{
    return method == ExtractionMethod::Uls ? "ULS" : method == ExtractionMethod::Pca ? "PCA" : "ML";
}

const char* DispersionName(DispersionKind kind)
{
    return kind == DispersionKind::Covariance ? "covariance" : kind == DispersionKind::Pearson ? "pearson" : "polychoric";
}

// Rows read and left out, and the items with missing values.
void WriteLosses(JsonWriter& json, const char* key, const SampleLosses& losses, const ReportDetails& d)
{
    json.BeginObject(key);
    json.Integer("rowsRead", losses.rowsRead);
    json.Integer("rowsDropped", losses.rowsDropped);
    json.BeginArray("items");
    for (std::size_t i = 0; i < losses.missingPerItem.size(); ++i) {
        if (losses.missingPerItem[i] > 0) {
            json.BeginObject();
            json.String("item", ItemName(d, static_cast<int>(i)));
            json.Integer("missing", losses.missingPerItem[i]);
            json.EndObject();
        }
    }
    json.EndArray();
    json.EndObject();
}

void WriteOptions(JsonWriter& json, const ReportDetails& d)
{
    json.BeginObject("samples");
    json.String("targetFile", d.targetFile);
    json.Integer("targetCount", d.targetCount);
    json.String("replicationFile", d.replicationFile);
    json.Integer("replicationCount", d.replicationCount);
    json.Integer("items", d.variableCount);
    json.BeginArray("itemNames");
    for (int i = 0; i < d.variableCount; ++i) {
        json.String(nullptr, ItemName(d, i));
    }
    json.EndArray();
    if (d.targetLosses && d.replicationLosses) {
        json.BeginObject("missingValues");
        WriteLosses(json, "target", *d.targetLosses, d);
        WriteLosses(json, "replication", *d.replicationLosses, d);
        json.EndObject();
    }
    if (d.groupSplit) {
        json.BeginObject("groups");
        json.Integer("rowsRead", d.groupSplit->rowsRead);
        json.Integer("targetRows", d.groupSplit->targetRows);
        json.Integer("replicationRows", d.groupSplit->replicationRows);
        json.BeginArray("otherGroups");
        for (const OtherGroupRows& other : d.groupSplit->otherGroups) {
            json.BeginObject();
            json.String("value", other.value);
            json.Integer("rows", other.rows);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndObject();
    json.BeginObject("options");
    json.Integer("factors", d.factorCount);
    json.String("method", MethodName(d.method));
    json.String("dispersion", DispersionName(d.dispersion));
    json.Integer("bootstrapSamples", d.bootstrapSamples);
    json.Number("alpha", AlphaValue(d.alpha));
    if (d.dispersion == DispersionKind::Polychoric) {
        json.Integer("lowestScore", d.lowestScore);
        json.Integer("highestScore", d.highestScore);
    }
    json.EndObject();
}

void WriteDifficulties(JsonWriter& json, const DifficultyResults& results)
{
    json.BeginObject("itemDifficulties");
    json.Number("criticalValue", results.criticalValue);
    json.BeginArray("items");
    for (std::size_t i = 0; i < results.items.size(); ++i) {
        const DifficultyItem& item = results.items[i];
        json.BeginObject();
        json.Integer("item", static_cast<long long>(i) + 1);
        json.Number("targetMean", item.targetMean);
        json.Number("replicationMean", item.replicationMean);
        json.Number("t", item.t);
        json.Integer("df", item.df);
        json.Number("p", item.p);
        json.Boolean("tSignificant", item.tSignificant);
        json.Number("d", item.d);
        json.Boolean("dSignificant", item.dSignificant);
        json.Number("targetLower", item.targetLower);
        json.Number("targetUpper", item.targetUpper);
        json.Number("replicationLower", item.replicationLower);
        json.Number("replicationUpper", item.replicationUpper);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void WriteHotelling(JsonWriter& json, const HotellingResults& results)
{
    json.BeginObject("hotellingTSquare");
    json.Integer("df1", results.df1);
    json.Integer("df2", results.df2);
    if (results.computable) {
        json.Number("tSquare", results.tSquare);
        json.Number("F", results.f);
        json.Number("P", results.p);
        json.Number("pExact", results.pExact);
    }
    json.EndObject();
}

// One entry per item and factor: the value and its interval.
void WriteLoadings(JsonWriter& json, const char* key, const SampleDiscriminations& sample)
{
    json.BeginArray(key);
    for (int i = 0; i < sample.loadings.rows; ++i) {
        for (int j = 0; j < sample.loadings.cols; ++j) {
            json.BeginObject();
            json.Integer("item", i + 1);
            json.Integer("factor", j + 1);
            json.Number("value", sample.loadings(i, j));
            json.Number("lower", sample.loadingLower(i, j));
            json.Number("upper", sample.loadingUpper(i, j));
            json.EndObject();
        }
    }
    json.EndArray();
}

void WriteResidualVariances(JsonWriter& json, const char* key, const SampleDiscriminations& sample)
{
    json.BeginArray(key);
    for (int i = 0; i < sample.residualVariances.rows; ++i) {
        json.BeginObject();
        json.Integer("item", i + 1);
        json.Number("value", sample.residualVariances(i, 0));
        json.Number("lower", sample.residualLower(i, 0));
        json.Number("upper", sample.residualUpper(i, 0));
        json.EndObject();
    }
    json.EndArray();
}

void WriteDifferences(JsonWriter& json, const char* key, const ResultTable& differences, const FlagTable& significant,
                      bool withFactors)
{
    json.BeginArray(key);
    for (int i = 0; i < differences.rows; ++i) {
        for (int j = 0; j < differences.cols; ++j) {
            json.BeginObject();
            json.Integer("item", i + 1);
            if (withFactors) {
                json.Integer("factor", j + 1);
            }
            json.Number("value", differences(i, j));
            json.Boolean("significant", significant(i, j));
            json.EndObject();
        }
    }
    json.EndArray();
}

void WriteDiscriminations(JsonWriter& json, const RunResults& results)
{
    if (const DiscriminationResults* d = ReportedLoadings(results)) {
        json.BeginObject("itemDiscriminations");
        WriteLoadings(json, "target", d->target);
        WriteLoadings(json, "replication", d->replication);
        WriteDifferences(json, "differences", d->loadingDifferences, d->loadingSignificant, true);
        json.EndObject();
    }
    if (const DiscriminationResults* d = ReportedResidualVariances(results)) {
        json.BeginObject("itemResidualVariances");
        WriteResidualVariances(json, "target", d->target);
        WriteResidualVariances(json, "replication", d->replication);
        WriteDifferences(json, "differences", d->residualDifferences, d->residualSignificant, false);
        json.EndObject();
    }
    const DiscriminationResults* shown = ReportedLoadings(results);
    shown = shown ? shown : ReportedResidualVariances(results);
    if (shown && !shown->improperWarning.empty()) {
        // A Heywood case: the items whose residual variance is at or below zero.
        json.BeginObject("improperSolution");
        for (const auto& [key, items] : {std::pair{"target", &shown->improperTargetItems},
                                         std::pair{"replication", &shown->improperReplicationItems}}) {
            json.BeginArray(key);
            for (const int item : *items) {
                json.Integer(nullptr, item);
            }
            json.EndArray();
        }
        json.EndObject();
    }
}

void WriteIndexEntries(JsonWriter& json, const char* key, const char* numberKey, const std::vector<double>& observed,
                       const std::vector<double>& critical, const std::vector<bool>& significant)
{
    json.BeginArray(key);
    for (std::size_t k = 0; k < observed.size(); ++k) {
        json.BeginObject();
        json.Integer(numberKey, static_cast<long long>(k) + 1);
        json.Number("observed", observed[k]);
        json.Number("critical", critical[k]);
        json.Boolean("significant", significant[k]);
        json.EndObject();
    }
    json.EndArray();
}

// The observed and critical values of one family of indices with the flags.
struct IndexFamily {
    const std::vector<double>& items;
    const std::vector<double>& criticalItems;
    const std::vector<bool>& itemsSignificant;
    const std::vector<double>& factors;
    const std::vector<double>& criticalFactors;
    const std::vector<bool>& factorsSignificant;
    double overall;
    double criticalOverall;
    bool overallSignificant;
};

void WriteIndexFamily(JsonWriter& json, const char* key, const IndexFamily& family)
{
    json.BeginObject(key);
    WriteIndexEntries(json, "items", "item", family.items, family.criticalItems, family.itemsSignificant);
    WriteIndexEntries(json, "factors", "factor", family.factors, family.criticalFactors, family.factorsSignificant);
    json.BeginObject("overall");
    json.Number("observed", family.overall);
    json.Number("critical", family.criticalOverall);
    json.Boolean("significant", family.overallSignificant);
    json.EndObject();
    json.EndObject();
}

void WriteInvariance(JsonWriter& json, const InvarianceResults& results)
{
    const InvarianceIndexSet& o = results.observed;
    const InvarianceIndexSet& c = results.critical;
    const InvarianceSignificance& s = results.significant;
    json.BeginObject("invarianceIndices");
    json.String("dispersionAnalysed", DispersionName(results.analysed));
    if (results.showCongruence) {
        WriteIndexFamily(json, "congruence",
                         {o.itemCongruence, c.itemCongruence, s.itemCongruence, o.factorCongruence,
                          c.factorCongruence, s.factorCongruence, o.overallCongruence, c.overallCongruence,
                          s.overallCongruence});
    }
    if (results.showDiscrepancy) {
        WriteIndexFamily(json, "discrepancy",
                         {o.itemDiscrepancy, c.itemDiscrepancy, s.itemDiscrepancy, o.factorDiscrepancy,
                          c.factorDiscrepancy, s.factorDiscrepancy, o.overallDiscrepancy, c.overallDiscrepancy,
                          s.overallDiscrepancy});
    }
    json.EndObject();
}

void WriteSampleTally(JsonWriter& json, const char* key, const SampleTally& tally)
{
    json.BeginObject(key);
    json.BeginObject("redraws");
    json.Integer("polychoricEmptyCategory", tally.redraws.emptyCategory);
    json.Integer("mlNotConverged", tally.redraws.notConverged);
    json.Integer("itemWithoutVariance", tally.redraws.noVariance);
    json.Integer("notFinite", tally.redraws.notFinite);
    json.Integer("total", tally.redraws.Total());
    json.EndObject();
    json.Integer("improperSolutions", tally.improperSolutions);
    json.EndObject();
}

void WriteTally(JsonWriter& json, const char* key, const BootstrapTally& tally)
{
    json.BeginObject(key);
    json.Integer("replicates", tally.replicates);
    WriteSampleTally(json, "target", tally.target);
    WriteSampleTally(json, "replication", tally.replication);
    json.EndObject();
}

// What each bootstrap that ran went through, also when its analysis ended
// with a warning.
void WriteBootstrapTallies(JsonWriter& json, const RunResults& results)
{
    const bool discriminations = results.discriminations && results.discriminations->bootstrap.ran;
    const bool indices = results.invariance && results.invariance->bootstrap.ran;
    if (!discriminations && !indices) {
        return;
    }
    json.BeginObject("bootstrap");
    if (discriminations) {
        WriteTally(json, "itemDiscriminations", results.discriminations->bootstrap);
    }
    if (indices) {
        WriteTally(json, "invarianceIndices", results.invariance->bootstrap);
    }
    json.EndObject();
}

} // namespace

void WriteJsonReport(std::FILE* out, const ReportDetails& details, const RunResults& results)
{
    JsonWriter json(out);
    json.BeginObject();
    json.String("program", "TALVER");
    json.String("version", "2.01");
    WriteOptions(json, details);
    if (results.difficulties) {
        WriteDifficulties(json, *results.difficulties);
    }
    WriteDiscriminations(json, results);
    if (results.hotelling) {
        WriteHotelling(json, *results.hotelling);
    }
    if (const InvarianceResults* indices = ReportedIndices(results)) {
        WriteInvariance(json, *indices);
    }
    WriteBootstrapTallies(json, results);
    json.BeginArray("resultsInWords");
    for (const FindingInWords& finding : ResultsInWords(details, results)) {
        json.BeginObject();
        json.String("topic", finding.topic);
        json.String("text", finding.text);
        json.EndObject();
    }
    json.EndArray();
    json.BeginArray("warnings");
    for (const AnalysisWarning& warning : ReportWarnings(details, results)) {
        json.BeginObject();
        json.String("section", warning.section);
        json.String("text", warning.text);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

} // namespace talver
