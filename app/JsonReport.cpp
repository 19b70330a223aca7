#include "app/JsonReport.h"

#include "analyses/RunResults.h"
#include "app/JsonWriter.h"
#include "app/Workspace.h"

#include <cmath>

namespace {

const char* MethodName(int code)
{
    return code == kMethodUls ? "ULS" : code == kMethodPca ? "PCA" : "ML";
}

const char* DispersionName(int code)
{
    return code == kDispersionCovariance ? "covariance" : code == kDispersionPearson ? "pearson" : "polychoric";
}

void WriteOptions(JsonWriter& json, const Workspace& w)
{
    const AnalysisOptions& o = w.options;
    json.BeginObject("samples");
    json.String("targetFile", w.targetFile);
    json.Integer("targetCount", w.targetCount);
    json.String("replicationFile", w.replicationFile);
    json.Integer("replicationCount", w.replicationCount);
    json.Integer("items", w.variableCount);
    json.EndObject();
    json.BeginObject("options");
    json.Integer("factors", o.factorCount);
    json.String("method", MethodName(o.extractionMethod));
    json.String("dispersion", DispersionName(o.dispersionKind));
    json.Integer("bootstrapSamples", o.bootstrapSamples);
    json.Number("alpha", o.alphaCode == kAlpha05 ? 0.05 : 0.10);
    if (o.dispersionKind != kDispersionCovariance && o.dispersionKind != kDispersionPearson) {
        json.Integer("lowestScore", o.lowestScore);
        json.Integer("highestScore", o.highestScore);
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
        json.Boolean("tSignificant", std::fabs(item.t) >= results.criticalValue);
        json.Number("d", item.d);
        json.Boolean("dSignificant", std::fabs(item.d) >= results.criticalValue);
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

void WriteDifferences(JsonWriter& json, const char* key, const ResultTable& differences, const ResultTable& overlaps,
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
            json.Boolean("significant", overlaps(i, j) != 1.0);
            json.EndObject();
        }
    }
    json.EndArray();
}

void WriteDiscriminations(JsonWriter& json, const RunResults& results)
{
    const DiscriminationResults& d = *results.discriminations;
    if (results.loadingsReported) {
        json.BeginObject("itemDiscriminations");
        WriteLoadings(json, "target", d.target);
        WriteLoadings(json, "replication", d.replication);
        WriteDifferences(json, "differences", d.loadingDifferences, d.loadingOverlaps, true);
        json.EndObject();
    }
    if (results.residualVariancesReported) {
        json.BeginObject("itemResidualVariances");
        WriteResidualVariances(json, "target", d.target);
        WriteResidualVariances(json, "replication", d.replication);
        WriteDifferences(json, "differences", d.residualDifferences, d.residualOverlaps, false);
        json.EndObject();
    }
}

void WriteIndexEntries(JsonWriter& json, const char* key, const char* numberKey, const std::vector<double>& observed,
                       const std::vector<double>& critical, bool lowIsSignificant)
{
    json.BeginArray(key);
    for (std::size_t k = 0; k < observed.size(); ++k) {
        json.BeginObject();
        json.Integer(numberKey, static_cast<long long>(k) + 1);
        json.Number("observed", observed[k]);
        json.Number("critical", critical[k]);
        json.Boolean("significant", lowIsSignificant ? observed[k] < critical[k] : observed[k] > critical[k]);
        json.EndObject();
    }
    json.EndArray();
}

void WriteIndexFamily(JsonWriter& json, const char* key, const std::vector<double>& items,
                      const std::vector<double>& criticalItems, const std::vector<double>& factors,
                      const std::vector<double>& criticalFactors, double overall, double criticalOverall,
                      bool lowIsSignificant)
{
    json.BeginObject(key);
    WriteIndexEntries(json, "items", "item", items, criticalItems, lowIsSignificant);
    WriteIndexEntries(json, "factors", "factor", factors, criticalFactors, lowIsSignificant);
    json.BeginObject("overall");
    json.Number("observed", overall);
    json.Number("critical", criticalOverall);
    json.Boolean("significant", lowIsSignificant ? overall < criticalOverall : overall > criticalOverall);
    json.EndObject();
    json.EndObject();
}

void WriteInvariance(JsonWriter& json, const InvarianceResults& results)
{
    const InvarianceIndexSet& o = results.observed;
    const InvarianceIndexSet& c = results.critical;
    json.BeginObject("invarianceIndices");
    json.String("dispersionAnalysed", results.dispersionKind == kDispersionCovariance ? "covariance" : "pearson");
    if (results.showCongruence) {
        WriteIndexFamily(json, "congruence", o.itemCongruence, c.itemCongruence, o.factorCongruence,
                         c.factorCongruence, o.overallCongruence, c.overallCongruence, true);
    }
    if (results.showDiscrepancy) {
        WriteIndexFamily(json, "discrepancy", o.itemDiscrepancy, c.itemDiscrepancy, o.factorDiscrepancy,
                         c.factorDiscrepancy, o.overallDiscrepancy, c.overallDiscrepancy, false);
    }
    json.EndObject();
}

} // namespace

void WriteJsonReport(std::FILE* out, const Workspace& workspace, const RunResults& results)
{
    JsonWriter json(out);
    json.BeginObject();
    json.String("program", "TALVER");
    json.String("version", "2.01");
    WriteOptions(json, workspace);
    if (results.difficulties) {
        WriteDifficulties(json, *results.difficulties);
    }
    if (results.discriminations) {
        WriteDiscriminations(json, results);
    }
    if (results.hotelling) {
        WriteHotelling(json, *results.hotelling);
    }
    if (results.invariance) {
        WriteInvariance(json, *results.invariance);
    }
    json.BeginArray("warnings");
    for (const AnalysisWarning& warning : results.warnings) {
        json.BeginObject();
        json.String("section", warning.section);
        json.String("text", warning.text);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}
