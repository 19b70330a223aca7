#include "app/batch/BatchPort.h"

#include "app/OptionsDialogRules.h"
#include "app/SampleDialogRules.h"
#include "app/batch/EditorLauncher.h"

#include <cstdio>
#include <filesystem>
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

// The same file, whether or not it exists yet.
bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    const std::filesystem::path first = std::filesystem::weakly_canonical(std::filesystem::absolute(a, error), error);
    const std::filesystem::path second = std::filesystem::weakly_canonical(std::filesystem::absolute(b, error), error);
    return !error && first == second;
}

} // namespace

BatchPort::BatchPort(const BatchOptions& options, bool liveProgress)
    : options_(options), printer_(stderr, liveProgress)
{
}

void BatchPort::Say(const std::string& text)
{
    printer_.Interrupt();
    std::fprintf(stderr, "%s\n", text.c_str());
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
    // Every output goes to a file of its own, never over the data or another output.
    const std::pair<const char*, const std::string*> files[] = {{"--target", &options_.targetFile},
                                                                {"--replication", &options_.replicationFile},
                                                                {"--output", &options_.outputFile},
                                                                {"--json", &options_.jsonFile},
                                                                {"--html", &options_.htmlFile}};
    for (std::size_t later = 2; later < std::size(files); ++later) {
        for (std::size_t earlier = 0; earlier < later; ++earlier) {
            if (!files[later].second->empty() && !files[earlier].second->empty() &&
                SameFile(*files[later].second, *files[earlier].second)) {
                Say(std::string(files[later].first) + " names the same file as " + files[earlier].first + " (\"" +
                    *files[later].second + "\"), which it would replace. Give it a file of its own.");
                return false;
            }
        }
    }
    return true;
}

void BatchPort::Finish(const std::string& text)
{
    Say(text);
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

void BatchPort::DisplayTexts(const WindowTexts& texts)
{
    shown_ = texts;
    printer_.Show(texts);
}

void BatchPort::NoteBootstrapProgress(int done, int total)
{
    printer_.NoteBootstrapProgress(done, total);
}

std::optional<SampleDialogValues> BatchPort::RunSampleDialog(const SampleDialogValues& initial)
{
    SampleDialogRules dialog(initial, *this);
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
