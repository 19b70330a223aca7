#include "app/batch/BatchPort.h"

#include "analyses/AnalysisProgress.h"
#include "app/OptionsDialogRules.h"
#include "data/DelimitedReader.h"
#include "app/SampleDialogRules.h"
#include "platform/ConsoleText.h"
#include "platform/EditorLauncher.h"
#include "platform/StopSignals.h"
#include "platform/Terminal.h"

#include <cstdio>
#include <map>

namespace talver {

namespace {

// The command-line option that fills each edit field, to name it in messages.
const std::map<int, const char*> kOptionOfField = {
    {SampleDialogRules::kTargetCountField, "--target-count"},
    {SampleDialogRules::kReplicationCountField, "--replication-count"},
    {SampleDialogRules::kVariableCountField, "--items"},
    {OptionsDialogRules::kBootstrapSamplesField, "--samples"},
    {OptionsDialogRules::kFactorCountField, "--factors"},
    {OptionsDialogRules::kLowestScoreField, "--lowest"},
    {OptionsDialogRules::kHighestScoreField, "--highest"},
};

} // namespace

BatchPort::BatchPort(const BatchOptions& options, bool liveProgress)
    : options_(options), printer_(stderr, liveProgress, StandardErrorColumns())
{
}

void BatchPort::Say(const std::string& text)
{
    printer_.Interrupt();
    WriteText(stderr, text + "\n");
}

bool BatchPort::CheckCombination()
{
    if (options_.method == "ml" && options_.dispersion == "polychoric") {
        Say("--method ml cannot be used with --dispersion polychoric: maximum likelihood is available for "
            "covariances and Pearson correlations only. Choose --method uls or pca, or another --dispersion.");
        return false;
    }
    if ((options_.lowestScore || options_.highestScore) && options_.dispersion != "polychoric") {
        Say("--lowest and --highest set the score range of polychoric correlations; add --dispersion polychoric "
            "or leave them out.");
        return false;
    }
    return CheckDataOptions();
}

bool BatchPort::CheckDataOptions()
{
    const BatchOptions& o = options_;
    if (!o.dataFile.empty() && (o.targetGiven || o.replicationGiven)) {
        Say("--data names one file that holds both samples; leave out --target and --replication, or use them "
            "instead of --data for two files.");
        return false;
    }
    if (!o.dataFile.empty() && o.groupColumn.empty()) {
        Say("--data holds both samples: name the column that tells them apart with --group COLUMN, and its values "
            "with --target-group VALUE and --replication-group VALUE.");
        return false;
    }
    if (o.dataFile.empty() && (!o.groupColumn.empty() || !o.targetGroup.empty() || !o.replicationGroup.empty())) {
        Say("--group, --target-group and --replication-group split the one file of --data; add --data FILE, or "
            "leave them out for two files.");
        return false;
    }
    if (!o.dataFile.empty() && (o.targetGroup.empty() || o.replicationGroup.empty())) {
        Say("Give the values of --group " + o.groupColumn +
            " that pick each sample's rows with --target-group VALUE and --replication-group VALUE.");
        return false;
    }
    if (!o.delimiter.empty() && DelimiterNamed(o.delimiter) == 0) {
        Say("--delimiter takes comma, semicolon or tab, not \"" + o.delimiter + "\".");
        return false;
    }
    if (!o.NamedColumns()) {
        if (!o.missing.empty() || !o.delimiter.empty()) {
            Say("--missing and --delimiter are for files that name their columns (.csv, .tsv, .sav, .zsav, .dta, "
                ".sas7bdat); plain files of numbers have no missing values.");
            return false;
        }
        return true;
    }
    if (o.countsGiven) {
        Say("The numbers of participants are taken from files that name their columns (the rows complete in the "
            "items); leave out --target-count and --replication-count.");
        return false;
    }
    if (!o.itemsGiven) {
        Say("Name the item columns with --items, for example --items q1-q10 or --items q1,q2,q5.");
        return false;
    }
    return true;
}

std::optional<SampleDialogValues> BatchPort::FillInFromColumns(SampleDialogRules& dialog)
{
    const BatchOptions& o = options_;
    SampleSource source;
    source.targetFile = o.dataFile.empty() ? o.targetFile : o.dataFile;
    source.replicationFile = o.dataFile.empty() ? o.replicationFile : o.dataFile;
    source.groupColumn = o.groupColumn;
    source.targetGroup = o.targetGroup;
    source.replicationGroup = o.replicationGroup;
    source.items = o.itemCount;
    source.missing = o.missing;
    source.delimiter = DelimiterNamed(o.delimiter);
    ExtractedSamples samples = ReadSamples(source, [] { return StopSignal() != 0; });
    if (samples.stopped) {
        return std::nullopt;
    }
    if (!samples.ok) {
        Say(samples.message);
        return std::nullopt;
    }
    dialog.SetFieldText(SampleDialogRules::kTargetCountField, std::to_string(samples.target.rows));
    dialog.SetFieldText(SampleDialogRules::kReplicationCountField, std::to_string(samples.replication.rows));
    dialog.SetFieldText(SampleDialogRules::kVariableCountField, std::to_string(samples.itemNames.size()));
    dialog.SetFieldText(SampleDialogRules::kTargetFileField, source.targetFile);
    dialog.SetFieldText(SampleDialogRules::kReplicationFileField, source.replicationFile);
    dialog.SetColumns(source);
    if (!dialog.Ok()) {
        return std::nullopt;
    }
    SampleDialogValues values = dialog.Values();
    values.samples = std::make_shared<ExtractedSamples>(std::move(samples));
    return values;
}

void BatchPort::ShowMessage(const std::string& text)
{
    Say(text);
}

void BatchPort::FocusField(int controlId)
{
    const auto option = kOptionOfField.find(controlId);
    if (option != kOptionOfField.end()) {
        Say(std::string("  (check ") + option->second + ")");
    }
}

void BatchPort::ShowDetail(const std::string& detail)
{
    if (!detail.empty()) {
        Say("  " + detail);
    }
}

void BatchPort::ShowNote(const std::string& note)
{
    Say(note);
}

void BatchPort::ShowSuspectCodes(const std::string& description, const std::string& codes, bool declarable)
{
    std::string lines = description;
    for (std::size_t at = lines.find('\n'); at != std::string::npos; at = lines.find('\n', at + 1)) {
        lines.insert(at + 1, "Warning: ");
    }
    Say("Warning: " + lines);
    const std::string missing = options_.missing.find_first_not_of(' ') == std::string::npos
                                    ? codes
                                    : options_.missing + "," + codes;
    if (declarable) {
        Say("  The run goes on with these codes analysed as scores. If they mark missing answers, run again with "
            "--missing " + missing + ".");
    } else {
        Say("  The run goes on with these codes analysed as scores. Plain data files cannot mark missing answers: "
            "save the data with column names (a .csv file with the items' names in its first line) and run with "
            "--missing " + missing + ", or remove those rows.");
    }
}

void BatchPort::PollStop()
{
    if (StopSignal() != 0) {
        throw ComputationStopped();
    }
}

void BatchPort::DisplayTexts(const WindowTexts& texts)
{
    shown_ = texts;
    printer_.Show(texts);
}

void BatchPort::NoteBootstrapProgress(int done, int total)
{
    printer_.NoteBootstrapProgress(done, total);
}

void BatchPort::ShowBootstrapTiming(const std::string& text)
{
    printer_.NoteBootstrapTiming(text);
}

std::optional<SampleDialogValues> BatchPort::RunSampleDialog(const SampleDialogValues& initial)
{
    SampleDialogRules dialog(initial, *this);
    if (options_.NamedColumns()) {
        return FillInFromColumns(dialog);
    }
    dialog.SetFieldText(SampleDialogRules::kTargetCountField, options_.targetCount);
    dialog.SetFieldText(SampleDialogRules::kReplicationCountField, options_.replicationCount);
    dialog.SetFieldText(SampleDialogRules::kVariableCountField, options_.itemCount);
    dialog.SetFieldText(SampleDialogRules::kTargetFileField, options_.targetFile);
    dialog.SetFieldText(SampleDialogRules::kReplicationFileField, options_.replicationFile);
    if (!dialog.Ok()) {
        return std::nullopt;
    }
    return dialog.Values();
}

std::optional<OptionsDialogValues> BatchPort::RunOptionsDialog(const OptionsDialogValues& initial)
{
    OptionsDialogRules dialog(initial, *this);
    // The matrix first: choosing polychoric correlations resets the method.
    const std::map<std::string, int> dispersionRadio = {{"covariance", OptionsDialogRules::kCovarianceRadio},
                                                        {"pearson", OptionsDialogRules::kPearsonRadio},
                                                        {"polychoric", OptionsDialogRules::kPolychoricRadio}};
    const std::map<std::string, int> methodRadio = {{"uls", OptionsDialogRules::kUlsRadio},
                                                    {"pca", OptionsDialogRules::kPcaRadio},
                                                    {"ml", OptionsDialogRules::kMlRadio}};
    dialog.Click(dispersionRadio.at(options_.dispersion));
    dialog.Click(methodRadio.at(options_.method));
    dialog.Click(options_.alpha == "0.05" ? OptionsDialogRules::kAlpha05Radio : OptionsDialogRules::kAlpha10Radio);
    const std::pair<bool, int> leftOut[] = {{options_.noDifficulties, OptionsDialogRules::kDifficultiesCheck},
                                            {options_.noDiscriminations, OptionsDialogRules::kDiscriminationsCheck},
                                            {options_.noResidualVariances, OptionsDialogRules::kResidualVariancesCheck},
                                            {options_.noDifficultyFit, OptionsDialogRules::kDifficultyFitCheck},
                                            {options_.noCongruence, OptionsDialogRules::kCongruenceCheck},
                                            {options_.noDiscrepancy, OptionsDialogRules::kDiscrepancyCheck}};
    for (const auto& [off, checkBox] : leftOut) {
        if (off == dialog.IsMarked(checkBox)) {
            // A disabled box keeps its flag; the run ignores that flag then.
            dialog.Click(checkBox);
        }
    }
    dialog.SetFieldText(OptionsDialogRules::kBootstrapSamplesField, options_.bootstrapSamples);
    dialog.SetFieldText(OptionsDialogRules::kFactorCountField, options_.factorCount);
    if (options_.lowestScore) {
        dialog.SetFieldText(OptionsDialogRules::kLowestScoreField, *options_.lowestScore);
    }
    if (options_.highestScore) {
        dialog.SetFieldText(OptionsDialogRules::kHighestScoreField, *options_.highestScore);
    }
    if (!dialog.Ok()) {
        return std::nullopt;
    }
    return dialog.Values();
}

void BatchPort::OpenReport(const std::string& path)
{
    if (!options_.openReport) {
        return;
    }
    std::string error;
    if (!StartEditorDetached(path, error)) {
        Say("The report was written, but no editor was opened: " + error +
            ". Set TALVER_EDITOR to the editor you want.");
    }
}

} // namespace talver
