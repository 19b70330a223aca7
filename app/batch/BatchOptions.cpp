#include "app/batch/BatchOptions.h"

#include "app/BuildDescription.h"
#include "app/batch/HelpText.h"
#include "data/DataFileKind.h"
#include "platform/ConsoleText.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <sstream>

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

namespace {

// Exit status of a command line that cannot be run.
constexpr int kUsageError = 2;

constexpr char kShortUsage[] =
    "Usage: talver-batch --target FILE --replication FILE [OPTIONS]\n"
    "   or: talver-batch --data FILE --group COLUMN --target-group VALUE\n"
    "                    --replication-group VALUE [OPTIONS]\n"
    "Reads the two samples, computes the analysis and writes the report (output.txt).\n"
    "talver-batch --help lists every option and its default.\n";

// Extras are allowed by the parser so that a mistyped option can be answered
// here with the option meant.
int RefuseExtras(const CLI::App& app, const std::vector<std::string>& extras)
{
    std::vector<std::string> known;
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& name : option->get_lnames()) {
            known.push_back("--" + name);
        }
    }
    const std::string& first = extras.front();
    if (first.rfind("-", 0) == 0) {
        const std::optional<std::string> meant = NearestOption(first, known);
        const std::string suggestion = meant ? ": did you mean " + *meant + "?" : ".";
        WriteText(stderr, "talver-batch does not know the option " + first + suggestion +
                              " talver-batch --help lists every option.\n");
    } else {
        WriteText(stderr, "talver-batch takes no argument without an option before it, such as \"" + first +
                              "\": name the file with --target, --replication or --data. talver-batch --help "
                              "lists every option.\n");
    }
    return kUsageError;
}

} // namespace

std::optional<int> ParseBatchOptions(int argc, char** argv, BatchOptions& o)
{
    // Without any argument, the defaults would analyse whatever target.dat
    // lies in the current folder; the usage is more likely what was wanted.
    if (argc <= 1) {
        std::fputs(kShortUsage, stderr);
        return kUsageError;
    }
    CLI::App app{"TALVER batch run: reads the two samples, configures the analysis and computes the report, "
                 "with the same checks, messages and results as the window's three commands.",
                 "talver-batch"};
    app.formatter(std::make_shared<WrappingFormatter>());
    app.get_formatter()->column_width(30);
    app.allow_extras();
    app.footer("Plain files without --target and --replication are target.dat and replica.dat in the current "
               "folder, with 707 and 335 rows of 10 items (the sizes of the example data); the defaults of the "
               "other options follow their \"=\". Option values may be typed in any case (--method ULS). The "
               "exit status is 0 with a report, 2 when a choice or a file was refused, 1 when the run failed "
               "otherwise, and 128 plus the signal's number when a signal stopped it (130 for Ctrl+C).");
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
        ->transform(CLI::IsMember({"uls", "pca", "ml"}, CLI::ignore_case))->capture_default_str();
    app.add_option("--dispersion", o.dispersion,
                   "Matrix analysed: covariance, pearson (correlations) or polychoric (tetrachoric) correlations")
        ->transform(CLI::IsMember({"covariance", "pearson", "polychoric"}, CLI::ignore_case))->capture_default_str();
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
        // CLI11's messages repeat what was typed, which may be a name
        // outside ASCII.
        std::ostringstream out;
        std::ostringstream err;
        const int status = app.exit(error, out, err);
        WriteText(stdout, out.str());
        WriteText(stderr, err.str());
        return status == 0 ? 0 : kUsageError;
    }
    if (const std::vector<std::string> extras = app.remaining(); !extras.empty()) {
        return RefuseExtras(app, extras);
    }
    o.targetGiven = target->count() > 0;
    o.replicationGiven = replication->count() > 0;
    o.itemsGiven = items->count() > 0;
    o.countsGiven = targetCount->count() > 0 || replicationCount->count() > 0;
    return std::nullopt;
}

} // namespace talver
