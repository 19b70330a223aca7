#include "PackageRun.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>
#include <stdexcept>

#include "analyses/AnalysisCodes.h"
#include "analyses/ComputeContext.h"
#include "analyses/PolychoricScores.h"
#include "matrix/Matrix.h"
#include "platform/CLocaleScope.h"
#include "report/AnalysisSections.h"
#include "report/JsonReport.h"
#include "report/ReportFrame.h"

namespace talver {

namespace {

// The report and the JSON companion are written into temporary files, as
// the writers write to a stream, and read back whole.
class TemporaryText {
public:
    TemporaryText() : file_(std::tmpfile())
    {
        if (!file_) {
            throw std::runtime_error("no temporary file could be made for the results");
        }
    }
    ~TemporaryText() { std::fclose(file_); }
    TemporaryText(const TemporaryText&) = delete;
    TemporaryText& operator=(const TemporaryText&) = delete;

    std::FILE* File() const { return file_; }

    std::string Text() const
    {
        if (std::fflush(file_) != 0 || std::ferror(file_) != 0) {
            throw std::runtime_error("the results could not be written to a temporary file");
        }
        std::rewind(file_);
        std::string text;
        char block[4096];
        std::size_t got = 0;
        while ((got = std::fread(block, 1, sizeof block, file_)) > 0) {
            text.append(block, got);
        }
        return text;
    }

private:
    std::FILE* file_;
};

Matrix* SampleMatrix(const SampleValues& sample)
{
    Matrix* data = NewMatrix(sample.rows, sample.cols);
    for (int j = 0; j < sample.cols; ++j) {
        for (int i = 0; i < sample.rows; ++i) {
            const double value = sample.values[static_cast<std::size_t>(j) * sample.rows + i];
            (*data)(i, j) = static_cast<double>(static_cast<float>(value));
        }
    }
    return data;
}

int MethodCode(ExtractionMethod method)
{
    return method == ExtractionMethod::Uls ? kMethodUls : method == ExtractionMethod::Pca ? kMethodPca : kMethodMl;
}

int DispersionCode(DispersionKind kind)
{
    return kind == DispersionKind::Covariance ? kDispersionCovariance
           : kind == DispersionKind::Pearson  ? kDispersionPearson
                                              : kDispersionPolychoric;
}

} // namespace

std::string PolychoricScoresRefusal(const SampleValues& target, const SampleValues& replication,
                                    const std::vector<std::string>& itemNames, const SampleRowOrigins& origins)
{
    MatrixScope scope;
    return UnusablePolychoricScores(SampleMatrix(target), SampleMatrix(replication), itemNames, origins);
}

PackageRunOutput RunPackageAnalyses(const PackageRunRequest& request, SectionProgress& progress)
{
    // Every matrix of the call is released when it ends, also when it is
    // stopped or fails: the pool lives as long as the R session.
    MatrixScope scope;
    // The report's numbers are written in the C locale whatever R's locale is.
    CLocaleScope cLocale;
    const ReportDetails& d = request.details;
    Matrix* target = SampleMatrix(request.target);
    Matrix* replication = SampleMatrix(request.replication);
    const int items = request.target.cols;
    Matrix* itemLowest = NewMatrix(items, 1);
    Matrix* itemHighest = NewMatrix(items, 1);
    if (d.dispersion == DispersionKind::Polychoric) {
        for (int i = 0; i < items; ++i) {
            (*itemLowest)(i, 0) = d.lowestScore;
            (*itemHighest)(i, 0) = d.highestScore;
        }
    }
    // Held within the int range, as the window holds it, for scores of any size.
    const int categoryCount = static_cast<int>(std::clamp<std::int64_t>(
        static_cast<std::int64_t>(d.highestScore) - d.lowestScore + 1, std::numeric_limits<int>::min(),
        std::numeric_limits<int>::max()));
    const int method = MethodCode(d.method);
    const int dispersion = DispersionCode(d.dispersion);
    const int alphaCode = d.alpha == AlphaLevel::Five ? kAlpha05 : kAlpha10;
    const OutputChoice& o = request.outputs;
    const bool covariances = d.dispersion == DispersionKind::Covariance;

    TemporaryText report;
    ReportContext context;
    context.report = report.File();
    context.startTime = std::time(nullptr);
    // R calls the package on one thread: the C library's plain conversion
    // is safe here and the same on every system.
    if (const std::tm* local = std::localtime(&context.startTime)) {
        context.startLocal = *local;
    }
    WriteReportHeader(context);
    WriteDetailsBlock(context, d);

    RandomSource random(request.seed);
    ComputeContext compute{progress, random, request.threads};
    PackageRunOutput output;
    RunResults& results = output.results;
    if (o.difficulties) {
        progress.ShowSection("Item difficulties ...");
        results.difficulties = AnalyzeItemDifficulties(target, replication, d.targetCount, d.replicationCount,
                                                       alphaCode, d.itemNames, context);
    }
    if (o.discriminations || (o.residualVariances && covariances)) {
        progress.ShowSection("Item discriminations");
        results.discriminations = AnalyzeItemDiscriminations(
            compute, target, replication, itemLowest, itemHighest, d.factorCount, d.bootstrapSamples, categoryCount,
            alphaCode, kAnalysisTolerance, method, dispersion, o.discriminations, o.residualVariances, d.itemNames,
            context);
        results.loadingsAsked = o.discriminations;
        results.residualVariancesAsked = o.residualVariances && covariances;
    }
    if (o.difficultyFit) {
        results.hotelling = HotellingTSquare(target, replication, d.targetCount, d.replicationCount, context);
    }
    if (o.congruence || o.discrepancy) {
        progress.ShowSection("Indices of invariance");
        results.invariance = AnalyzeInvarianceIndices(compute, target, replication, itemLowest, itemHighest,
                                                      d.factorCount, d.bootstrapSamples, alphaCode,
                                                      kAnalysisTolerance, method, dispersion, o.congruence,
                                                      o.discrepancy, d.itemNames, context);
    }
    progress.ShowSection(" ");
    context.endTime = std::time(nullptr);
    WriteClosingLines(context);
    output.report = report.Text();
    TemporaryText json;
    WriteJsonReport(json.File(), d, results);
    output.json = json.Text();
    return output;
}

} // namespace talver
