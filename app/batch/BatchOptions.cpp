#include "app/batch/BatchOptions.h"

#include <CLI/CLI.hpp>

namespace talver {

std::optional<int> ParseBatchOptions(int argc, char** argv, BatchOptions& o)
{
    CLI::App app{"TALVER batch run: reads the two samples, configures the analysis and computes the report, "
                 "with the same checks, messages and results as the window's three commands.",
                 "talver-batch"};
    app.get_formatter()->column_width(34);
    // A repeated option takes its last value, as scripts that append to a
    // command line expect.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--target", o.targetFile, "Target sample data file")->capture_default_str();
    app.add_option("--replication", o.replicationFile, "Replication sample data file")->capture_default_str();
    app.add_option("--target-count", o.targetCount, "Number of participants in the Target sample")
        ->type_name("N")->capture_default_str();
    app.add_option("--replication-count", o.replicationCount, "Number of participants in the Replication sample")
        ->type_name("N")->capture_default_str();
    app.add_option("--items", o.itemCount, "Number of variables (items) in both files")
        ->type_name("N")->capture_default_str();
    app.add_option("--factors", o.factorCount, "Number of factors or components (fewer than the items)")
        ->type_name("N")->capture_default_str();
    app.add_option("--method", o.method,
                   "Extraction: uls (unweighted least squares), pca (principal components) or ml (maximum likelihood)")
        ->check(CLI::IsMember({"uls", "pca", "ml"}))->capture_default_str();
    app.add_option("--dispersion", o.dispersion,
                   "Matrix analysed: covariance, pearson (correlations) or polychoric (tetrachoric) correlations")
        ->check(CLI::IsMember({"covariance", "pearson", "polychoric"}))->capture_default_str();
    app.add_option("--samples", o.bootstrapSamples, "Number of bootstrap samples (500 to 5000)")
        ->type_name("N")->capture_default_str();
    app.add_option("--alpha", o.alpha, "Alpha of the intervals and critical values: 0.05 or 0.10")
        ->check(CLI::IsMember({"0.05", "0.10"}))->capture_default_str();
    app.add_option("--lowest", o.lowestScore,
                   "Lowest possible item score (polychoric only; default the lowest score in the data)")
        ->type_name("N");
    app.add_option("--highest", o.highestScore,
                   "Highest possible item score (polychoric only; default the highest score in the data)")
        ->type_name("N");
    app.add_flag("--no-difficulties", o.noDifficulties, "Leave out the item difficulties");
    app.add_flag("--no-discriminations", o.noDiscriminations, "Leave out the item discriminations");
    app.add_flag("--no-residual-variances", o.noResidualVariances,
                 "Leave out the item residual variances (written for covariances only)");
    app.add_flag("--no-difficulty-fit", o.noDifficultyFit, "Leave out Hotelling's T square for the difficulties");
    app.add_flag("--no-congruence", o.noCongruence, "Leave out the congruence indices");
    app.add_flag("--no-discrepancy", o.noDiscrepancy, "Leave out the discrepancy indices");
    app.add_option("--output", o.outputFile, "Report file to write (replaced if it exists)")->capture_default_str();
    app.add_option("--json", o.jsonFile,
                   "Also write every table of the report at full precision as JSON to this file");
    app.add_option("--html", o.htmlFile,
                   "Also write the report as one self-contained HTML page with charts to this file");
    app.add_option("--threads", o.threads,
                   "Threads that compute the bootstrap replicates (default: every core); the report is the same "
                   "for every count")
        ->type_name("N")->check(CLI::Range(1, 1024));
    app.add_flag("--open", o.openReport,
                 "Open the report in a text editor when done ($TALVER_EDITOR, else the desktop's default)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? 0 : 2;
    }
    return std::nullopt;
}

} // namespace talver
