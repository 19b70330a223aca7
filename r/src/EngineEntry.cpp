// The one entry point of the engine for the package's R code: runs the
// analyses on two numeric matrices whose arguments R has checked, and
// returns the text report and the JSON companion of talver-batch, from
// which R builds its tables as talver_read_json() does.

#include <Rcpp.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ConsoleProgress.h"
#include "PackageRun.h"
#include "data/MissingCodes.h"

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

// What listwise deletion took from a sample, as R counted it: NULL when the
// call left nothing out and named no missing values.
std::optional<SampleLosses> Losses(SEXP given)
{
    if (Rf_isNull(given)) {
        return std::nullopt;
    }
    const Rcpp::List losses(given);
    return SampleLosses{Rcpp::as<int>(losses["rowsRead"]), Rcpp::as<int>(losses["rowsDropped"]),
                        Rcpp::as<std::vector<int>>(losses["missingPerItem"])};
}

} // namespace

// [[Rcpp::export(name = ".talver_engine")]]
Rcpp::CharacterVector TalverEngine(Rcpp::NumericMatrix target, Rcpp::NumericMatrix replication, Rcpp::List options)
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
    d.targetLosses = Losses(options["targetLosses"]);
    d.replicationLosses = Losses(options["replicationLosses"]);
    request.outputs = Outputs(options["outputs"]);
    request.seed = static_cast<std::uint32_t>(Rcpp::as<double>(options["seed"]));
    request.threads = Rcpp::as<int>(options["threads"]);

    ConsoleProgress progress(options["progress"]);
    const PackageRunOutput output = RunPackageAnalyses(request, progress);
    return Rcpp::CharacterVector::create(Rcpp::Named("report") = output.report, Rcpp::Named("json") = output.json);
}

// `origins` names the data each sample's rows come from (targetName,
// replicationName) and each row's place in it (targetRows, replicationRows).
// [[Rcpp::export(name = ".talver_polychoric_refusal")]]
std::string PolychoricRefusal(Rcpp::NumericMatrix target, Rcpp::NumericMatrix replication,
                              Rcpp::CharacterVector itemNames, Rcpp::List origins)
{
    auto places = [&origins](const char* name, const char* rows) {
        const Rcpp::NumericVector numbers = origins[rows];
        return SampleRowPlaces{Rcpp::as<std::string>(origins[name]), "row",
                               std::vector<std::int64_t>(numbers.begin(), numbers.end())};
    };
    return PolychoricScoresRefusal(Sample(target), Sample(replication), Rcpp::as<std::vector<std::string>>(itemNames),
                                   {places("targetName", "targetRows"), places("replicationName", "replicationRows")});
}

// The scores of both samples that look like codes of missing answers (-9,
// 99, ...): the codes, and a sentence on each naming its items.
// [[Rcpp::export(name = ".talver_missing_codes")]]
Rcpp::List MissingCodes(Rcpp::NumericMatrix target, Rcpp::NumericMatrix replication, Rcpp::CharacterVector itemNames)
{
    MissingCodeScan scan(target.ncol());
    for (const Rcpp::NumericMatrix* sample : {&target, &replication}) {
        for (int j = 0; j < sample->ncol(); ++j) {
            for (int i = 0; i < sample->nrow(); ++i) {
                scan.AddValue(j, (*sample)(i, j));
            }
        }
    }
    const std::vector<std::string> names = Rcpp::as<std::vector<std::string>>(itemNames);
    std::vector<double> codes;
    std::vector<std::string> descriptions;
    for (const SuspectMissingCode& suspect : scan.Suspects()) {
        codes.push_back(suspect.code);
        descriptions.push_back(DescribeSuspectCode(suspect, names));
    }
    return Rcpp::List::create(Rcpp::Named("codes") = codes, Rcpp::Named("descriptions") = descriptions);
}
