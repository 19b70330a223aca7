#include "app/MainWindowLogic.h"

#include "analyses/ComputeContext.h"
#include "app/CLocaleScope.h"
#include "app/OptionsDialogRules.h"
#include "app/RunDetails.h"
#include "app/SampleDialogRules.h"
#include "app/SampleFileReader.h"
#include "app/ScoreRange.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixOps.h"
#include "report/AnalysisSections.h"
#include "app/WholeFile.h"
#include "report/HtmlReport.h"
#include "report/JsonReport.h"
#include "report/ReportFrame.h"

#include <cerrno>
#include <cstring>

namespace talver {

MainWindowLogic::MainWindowLogic(MainWindowPort& port) : port_(port) {}

void MainWindowLogic::Initialise()
{
    workspace_ = Workspace{};
    ShowText(TextField::Status, "  READY");
    for (Button button : {Button::ReadSampleData, Button::About, Button::Exit}) {
        Enable(button, true);
    }
    Enable(Button::ConfigureAnalysis, false);
    Enable(Button::Compute, false);
}

void MainWindowLogic::ShowText(TextField field, const std::string& text)
{
    const WindowTexts shown = port_.DisplayedTexts();
    workspace_.statusText = shown.status;
    workspace_.sectionText = shown.section;
    workspace_.stepText = shown.step;
    workspace_.progressText = shown.progress;
    switch (field) {
    case TextField::Status: workspace_.statusText = text; break;
    case TextField::Section: workspace_.sectionText = text; break;
    case TextField::Step: workspace_.stepText = text; break;
    case TextField::Progress: workspace_.progressText = text; break;
    }
    Display();
}

void MainWindowLogic::ShowStep(const std::string& text)
{
    ShowText(TextField::Step, text);
}

void MainWindowLogic::ShowProgress(const std::string& text)
{
    ShowText(TextField::Progress, text);
}

void MainWindowLogic::ShowBootstrapProgress(int done, int total, double percent)
{
    port_.NoteBootstrapProgress(done, total);
    AnalysisProgress::ShowBootstrapProgress(done, total, percent);
}

void MainWindowLogic::SetStatus(const std::string& text)
{
    workspace_.statusText = text;
    Display();
}

void MainWindowLogic::Display()
{
    port_.DisplayTexts({workspace_.statusText, workspace_.sectionText, workspace_.stepText, workspace_.progressText});
}

void MainWindowLogic::Enable(Button button, bool enabled)
{
    enabled_[button] = enabled;
    port_.SetButtonEnabled(button, enabled);
}

bool MainWindowLogic::IsEnabled(Button button) const
{
    const auto found = enabled_.find(button);
    return found != enabled_.end() && found->second;
}

void MainWindowLogic::ReadSampleData()
{
    const SampleDialogValues initial{workspace_.targetCount, workspace_.replicationCount, workspace_.variableCount,
                                     workspace_.targetFile, workspace_.replicationFile};
    const std::optional<SampleDialogValues> chosen = port_.RunSampleDialog(initial);
    if (!chosen) {
        return;
    }
    SetStatus("  LOADING DATA ...");
    workspace_.targetCount = chosen->targetCount;
    workspace_.replicationCount = chosen->replicationCount;
    workspace_.variableCount = chosen->variableCount;
    workspace_.targetFile = chosen->targetFile;
    workspace_.replicationFile = chosen->replicationFile;

    CLocaleScope cLocale;
    if (!ReadSample(workspace_.targetFile, workspace_.targetCount, workspace_.targetData,
                    "Error reading TARGET file!") ||
        !ReadSample(workspace_.replicationFile, workspace_.replicationCount, workspace_.replicationData,
                    "Error reading REPLICATION file!")) {
        workspace_.dataLoaded = false;
        SetStatus("  READY");
        return;
    }
    Enable(Button::ConfigureAnalysis, true);
    Enable(Button::Compute, false);
    ShowText(TextField::Status, "  DATA LOADED!");
    workspace_.dataLoaded = true;
    DeriveScoreRange();
}

bool MainWindowLogic::ReadSample(const std::string& path, int rows, Matrix*& into, const char* errorMessage)
{
    const SampleSizeCheck check = CheckSampleFileSize(path, rows, workspace_.variableCount);
    if (!check.ok) {
        port_.ShowMessage(errorMessage);
        port_.ShowDetail(check.detail);
        return false;
    }
    into = NewMatrix(rows, workspace_.variableCount);
    const SampleReadResult result = ReadSampleFile(path, into);
    if (!result.ok) {
        port_.ShowMessage(errorMessage);
        port_.ShowDetail(result.detail);
        return false;
    }
    return true;
}

void MainWindowLogic::DeriveScoreRange()
{
    const ScoreRange range = ObservedScoreRange(workspace_.targetData, workspace_.replicationData);
    workspace_.observedMaximum = range.maximum;
    workspace_.observedMinimum = range.minimum;
    workspace_.options.highestScore = range.maximum;
    workspace_.options.lowestScore = range.minimum;
    workspace_.categoryCount = CategoryCount(range.minimum, range.maximum);
    workspace_.itemHighest = NewMatrix(workspace_.variableCount, 1);
    workspace_.itemLowest = NewMatrix(workspace_.variableCount, 1);
}

void MainWindowLogic::ConfigureAnalysis()
{
    if (!workspace_.dataLoaded) {
        port_.ShowMessage("Data must be read before the definition of the analysis");
        return;
    }
    const AnalysisOptions& options = workspace_.options;
    OptionsDialogValues initial;
    initial.variableCount = workspace_.variableCount;
    initial.showDiscriminations = options.showDiscriminations;
    initial.showDifficulties = options.showDifficulties;
    initial.showResidualVariances = options.showResidualVariances;
    initial.showDifficultyFit = options.showDifficultyFit;
    initial.showCongruence = options.showCongruence;
    initial.showDiscrepancy = options.showDiscrepancy;
    initial.alphaCode = options.alphaCode;
    initial.extractionMethod = options.extractionMethod;
    initial.dispersionKind = options.dispersionKind;
    initial.observedMaximum = workspace_.observedMaximum;
    initial.observedMinimum = workspace_.observedMinimum;
    initial.bootstrapSamples = static_cast<unsigned>(options.bootstrapSamples);
    initial.factorCount = static_cast<unsigned>(options.factorCount);
    initial.lowestScore = options.lowestScore;
    initial.highestScore = options.highestScore;
    const std::optional<OptionsDialogValues> chosen = port_.RunOptionsDialog(initial);
    if (!chosen) {
        return;
    }
    AnalysisOptions& target = workspace_.options;
    target.extractionMethod = chosen->extractionMethod;
    target.alphaCode = chosen->alphaCode;
    target.bootstrapSamples = static_cast<std::int32_t>(chosen->bootstrapSamples);
    target.factorCount = static_cast<std::int32_t>(chosen->factorCount);
    target.showDiscriminations = chosen->showDiscriminations == 1;
    target.showDifficulties = chosen->showDifficulties == 1;
    target.showResidualVariances = chosen->showResidualVariances == 1;
    target.showDifficultyFit = chosen->showDifficultyFit == 1;
    target.showCongruence = chosen->showCongruence == 1;
    target.showDiscrepancy = chosen->showDiscrepancy == 1;
    target.dispersionKind = chosen->dispersionKind;
    if (target.dispersionKind == kDispersionPolychoric) {
        target.highestScore = chosen->highestScore;
        target.lowestScore = chosen->lowestScore;
        workspace_.categoryCount = CategoryCount(target.lowestScore, target.highestScore);
        for (int i = 0; i < workspace_.itemHighest->Rows(); ++i) {
            (*workspace_.itemHighest)(i, 0) = target.highestScore;
            (*workspace_.itemLowest)(i, 0) = target.lowestScore;
        }
    }
    Enable(Button::Compute, true);
    SetStatus("  ANALYSIS CONFIGURED");
    workspace_.analysisConfigured = true;
}

bool MainWindowLogic::Compute()
{
    if (!workspace_.dataLoaded) {
        port_.ShowMessage("Data must be read before the computing");
        return false;
    }
    if (!workspace_.analysisConfigured) {
        port_.ShowMessage("Analysis must be configured before the computing");
        return false;
    }
    const std::string statusBefore = workspace_.statusText;
    SetStatus(" COMPUTING ...");
    const Button lockOrder[] = {Button::ReadSampleData, Button::ConfigureAnalysis, Button::Compute, Button::Exit,
                                Button::About};
    std::map<Button, bool> enabledBefore = enabled_;
    for (Button button : lockOrder) {
        Enable(button, false);
    }
    const std::string reportPath = workspace_.outputFile;
    port_.SetWaitCursor(true);

    CLocaleScope cLocale;
    ReportContext context;
    context.report = std::fopen(reportPath.c_str(), "w");
    if (!context.report) {
        const std::string reason = std::strerror(errno);
        port_.SetWaitCursor(false);
        port_.ShowMessage("The report file \"" + reportPath + "\" could not be opened for writing (" + reason +
                          "). Check that its folder exists and that you may write there, then compute again.");
        for (Button button : lockOrder) {
            Enable(button, enabledBefore[button]);
        }
        SetStatus(statusBefore);
        return false;
    }
    context.startTime = std::time(nullptr);
    WriteReportHeader(context);
    WriteDetailsBlock(context, DetailsOf(workspace_));
    const RunResults results = RunAnalyses(context);
    context.endTime = std::time(nullptr);
    WriteClosingLines(context);
    const bool written = std::ferror(context.report) == 0;
    const bool closed = std::fclose(context.report) == 0;
    port_.SetWaitCursor(false);
    SetStatus("  JOB DONE!");
    for (Button button : {Button::ReadSampleData, Button::ConfigureAnalysis, Button::Exit, Button::About}) {
        Enable(button, true);
    }
    if (!written || !closed) {
        port_.ShowMessage("The report file \"" + reportPath +
                          "\" could not be written completely. Check the free space of its disk, then compute again.");
        return false;
    }
    const bool companionWritten = workspace_.jsonFile.empty() || WriteCompanion(results);
    const bool htmlWritten = workspace_.htmlFile.empty() || WriteHtmlCompanion(results);
    port_.ShowResults(DetailsOf(workspace_), results, reportPath);
    port_.OpenReport(reportPath);
    return companionWritten && htmlWritten;
}

bool MainWindowLogic::WriteCompanion(const RunResults& results)
{
    const std::string& path = workspace_.jsonFile;
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (out) {
        WriteJsonReport(out, DetailsOf(workspace_), results);
        const bool written = std::ferror(out) == 0;
        if (std::fclose(out) == 0 && written) {
            return true;
        }
    }
    port_.ShowMessage("The report was written, but its companion file \"" + path +
                      "\" could not be written (" + std::strerror(errno) +
                      "). Check that its folder exists and that you may write there.");
    return false;
}

bool MainWindowLogic::WriteHtmlCompanion(const RunResults& results)
{
    const std::string& path = workspace_.htmlFile;
    std::string reason;
    if (WriteWholeFile(path, HtmlReport(DetailsOf(workspace_), results), reason)) {
        return true;
    }
    port_.ShowMessage("The report was written, but its HTML page \"" + path + "\" could not be written (" + reason +
                      "). Check that its folder exists and that you may write there.");
    return false;
}

RunResults MainWindowLogic::RunAnalyses(ReportContext& context)
{
    const Workspace& w = workspace_;
    const AnalysisOptions& o = w.options;
    const bool covariances = DispersionKindFromCode(o.dispersionKind) == DispersionKind::Covariance;
    ComputeContext compute{*this, random_, w.threadCount};
    RunResults results;
    auto between = [this]() {
        const WindowTexts shown = port_.DisplayedTexts();
        workspace_.statusText = shown.status;
        workspace_.sectionText = " ";
        workspace_.stepText = " ";
        workspace_.progressText = " ";
        Display();
    };
    if (o.showDifficulties) {
        ShowText(TextField::Section, "Item difficulties ...");
        results.difficulties = AnalyzeItemDifficulties(w.targetData, w.replicationData, w.targetCount,
                                                       w.replicationCount, o.alphaCode, context);
        between();
    }
    if (o.showDiscriminations || (o.showResidualVariances && covariances)) {
        ShowText(TextField::Section, "Item discriminations");
        results.discriminations = AnalyzeItemDiscriminations(
            compute, w.targetData, w.replicationData, w.itemLowest, w.itemHighest, o.factorCount,
            o.bootstrapSamples, w.categoryCount, o.alphaCode, kAnalysisTolerance, o.extractionMethod,
            o.dispersionKind, o.showDiscriminations, o.showResidualVariances, context);
        results.loadingsAsked = o.showDiscriminations;
        results.residualVariancesAsked = o.showResidualVariances && covariances;
        between();
    }
    if (o.showDifficultyFit) {
        results.hotelling =
            HotellingTSquare(w.targetData, w.replicationData, w.targetCount, w.replicationCount, context);
    }
    if (o.showCongruence || o.showDiscrepancy) {
        ShowText(TextField::Section, "Indices of invariance");
        results.invariance = AnalyzeInvarianceIndices(
            compute, w.targetData, w.replicationData, w.itemLowest, w.itemHighest, o.factorCount,
            o.bootstrapSamples, o.alphaCode, kAnalysisTolerance, o.extractionMethod, o.dispersionKind,
            o.showCongruence, o.showDiscrepancy, context);
        between();
    }
    return results;
}

void MainWindowLogic::Exit()
{
    FreeAllMatrices();
    workspace_.targetData = nullptr;
    workspace_.replicationData = nullptr;
    workspace_.itemLowest = nullptr;
    workspace_.itemHighest = nullptr;
}

} // namespace talver
