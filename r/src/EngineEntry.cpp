// The one entry point of the engine for the package's R code: runs the
// analyses on two numeric matrices whose arguments R has checked.

#include <Rcpp.h>

#include <algorithm>
#include <string>

#include "ConsoleProgress.h"
#include "PackageRun.h"
#include "ResultsAsList.h"
#include "analyses/AvailableCores.h"

using namespace talver;

namespace {

SampleValues Sample(const Rcpp::NumericMatrix& data)
{
    return {data.nrow(), data.ncol(), std::vector<double>(data.begin(), data.end())};
}

ExtractionMethod Method(const std::string& name)
{
    return name == "uls" ? ExtractionMethod::Uls : name == "pca" ? ExtractionMethod::Pca : ExtractionMethod::Ml;
}

DispersionKind Dispersion(const std::string& name)
{
    return name == "covariance" ? DispersionKind::Covariance
           : name == "pearson"  ? DispersionKind::Pearson
                                : DispersionKind::Polychoric;
}

OutputChoice Outputs(const Rcpp::CharacterVector& chosen)
{
    const auto has = [&chosen](const char* name) {
        return std::find(chosen.begin(), chosen.end(), name) != chosen.end();
    };
    return {has("difficulties"), has("discriminations"), has("residual_variances"),
            has("hotelling"),    has("congruence"),      has("discrepancy")};
}

} // namespace

// [[Rcpp::export(name = ".talver_engine")]]
Rcpp::List TalverEngine(Rcpp::NumericMatrix target, Rcpp::NumericMatrix replication, Rcpp::List options)
{
    PackageRunRequest request;
    request.target = Sample(target);
    request.replication = Sample(replication);
    ReportDetails& d = request.details;
    d.targetFile = Rcpp::as<std::string>(options["targetName"]);
    d.targetCount = target.nrow();
    d.replicationFile = Rcpp::as<std::string>(options["replicationName"]);
    d.replicationCount = replication.nrow();
    d.variableCount = target.ncol();
    d.factorCount = Rcpp::as<int>(options["factors"]);
    d.method = Method(Rcpp::as<std::string>(options["method"]));
    d.dispersion = Dispersion(Rcpp::as<std::string>(options["dispersion"]));
    d.bootstrapSamples = Rcpp::as<int>(options["samples"]);
    d.alpha = Rcpp::as<double>(options["alpha"]) == 0.05 ? AlphaLevel::Five : AlphaLevel::Ten;
    d.lowestScore = Rcpp::as<int>(options["lowest"]);
    d.highestScore = Rcpp::as<int>(options["highest"]);
    d.itemNames = Rcpp::as<std::vector<std::string>>(options["itemNames"]);
    request.outputs = Outputs(options["outputs"]);
    request.seed = static_cast<std::uint32_t>(Rcpp::as<double>(options["seed"]));
    const int threads = Rcpp::as<int>(options["threads"]);
    request.threads = threads > 0 ? threads : AvailableCores();

    ConsoleProgress progress(Rcpp::as<bool>(options["progress"]));
    try {
        const PackageRunOutput output = RunPackageAnalyses(request, progress);
        Rcpp::List results = ResultsAsList(output.results);
        results["report"] = output.report;
        return results;
    } catch (const ComputationStopped&) {
        // Rcpp hands this on to R as the user's interrupt.
        throw Rcpp::internal::InterruptedException();
    }
}
