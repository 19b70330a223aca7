#include "app/batch/BatchOptions.h"

#include "app/BuildDescription.h"
#include "data/DataFileKind.h"

#include <CLI/CLI.hpp>

namespace talver {

bool BatchOptions::NamedColumns() const
{
    return !dataFile.empty() || HasColumnNames(KindOfDataFile(targetFile)) ||
           HasColumnNames(KindOfDataFile(replicationFile));
}

std::vector<std::string> InputFiles(const BatchOptions& options)
{
    if (!options.dataFile.empty()) {
        return {options.dataFile};
    }
    return {options.targetFile, options.replicationFile};
}

std::optional<int> ParseBatchOptions(int argc, char** argv, BatchOptions& o)
{
    CLI::App app{"TALVER batch run: reads the two samples, configures the analysis and computes the report, "
                 "with the same checks, messages and results as the window's three commands.",
                 "talver-batch"};
    app.get_formatter()->column_width(34);
    app.set_version_flag("--version", VersionText("talver-batch"),
                         "Print the version, the compiler and the kind of build, and exit");
    // A repeated option takes its last value, as scripts that append to a
    // command line expect.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    CLI::Option* target =
        app.add_option("--target", o.targetFile,
                       "Target sample data file: plain numbers, or with column names (.csv, .tsv, .sav, .zsav, "
                       ".dta, .sas7bdat)")
            ->capture_default_str();
    CLI::Option* replication =
        app.add_option("--replication", o.replicationFile, "Replication sample data file, of the same kind")
            ->capture_default_str();
    CLI::Option* targetCount =
        app.add_option("--target-count", o.targetCount, "Number of participants in the Target sample (plain files)")
            ->type_name("N")->capture_default_str();
    CLI::Option* replicationCount =
        app.add_option("--replication-count", o.replicationCount,
                       "Number of participants in the Replication sample (plain files)")
            ->type_name("N")->capture_default_str();
    CLI::Option* items =
        app.add_option("--items", o.itemCount,
                       "Plain files: number of variables (items). Files with column names: the item columns, "
                       "names and ranges in file order, such as q1-q10,q12")
            ->type_name("N|LIST")->capture_default_str();
    app.add_option("--data", o.dataFile,
                   "One file with column names that holds both samples, told apart by --group");
    app.add_option("--group", o.groupColumn, "The column of --data that tells the samples apart")
        ->type_name("COLUMN");
    app.add_option("--target-group", o.targetGroup, "The value of --group in the Target sample's rows")
        ->type_name("VALUE");
    app.add_option("--replication-group", o.replicationGroup, "The value of --group in the Replication sample's rows")
        ->type_name("VALUE");
    app.add_option("--missing", o.missing,
                   "Codes of missing answers besides empty cells, NA and '.', such as -9,99; rows with a missing "
                   "item are left out of their sample")
        ->type_name("LIST");
    app.add_option("--delimiter", o.delimiter,
                   "Delimiter of .csv/.tsv files: comma, semicolon or tab (default: guessed from the header); with "
                   "semicolons numbers may have a decimal comma")
        ->type_name("D");
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
    o.targetGiven = target->count() > 0;
    o.replicationGiven = replication->count() > 0;
    o.itemsGiven = items->count() > 0;
    o.countsGiven = targetCount->count() > 0 || replicationCount->count() > 0;
    return std::nullopt;
}

} // namespace talver
