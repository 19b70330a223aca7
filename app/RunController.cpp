#include "app/RunController.h"

#include "analyses/ComputeContext.h"
#include "analyses/PolychoricScores.h"
#include "platform/AtomicFile.h"
#include "platform/CLocaleScope.h"
#include "platform/LocalTime.h"
#include "app/OptionsDialogRules.h"
#include "app/OutputPaths.h"
#include "app/RunDetails.h"
#include "app/SampleDialogRules.h"
#include "data/FilePath.h"
#include "data/InputShown.h"
#include "data/MissingCodes.h"
#include "data/SampleFileReader.h"
#include "data/ScoreRange.h"
#include "platform/UpperVectorState.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixOps.h"
#include "platform/AtomicFile.h"
#include "platform/CLocaleScope.h"
#include "report/AnalysisSections.h"
#include "report/HtmlReport.h"
#include "report/JsonReport.h"
#include "report/ReportFrame.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace talver {
namespace {

const char* const kReadingStopped = "The reading of the data was stopped; no data were loaded.";

// The reading's record of listwise deletion, as the report states it.
SampleLosses ReportedLosses(const ListwiseLosses& losses)
{
    return {losses.rowsRead, losses.rowsDropped, losses.missingPerItem};
}

// The reading's record of a group column's split, as the report states it.
GroupSplit ReportedSplit(const GroupRows& groups)
{
    GroupSplit split{groups.rowsRead, groups.targetRows, groups.replicationRows, {}};
    for (const auto& [value, rows] : groups.otherValues) {
        split.otherGroups.push_back({value, rows});
    }
    return split;
}

// Where the rows of a sample taken from a file with column names stand in it.
SampleRowPlaces RowPlaces(const std::string& file, const ExtractedSample& sample)
{
    return {file, sample.fileRowsAreLines ? "line" : "row", sample.fileRows};
}

// The items' names as messages show them (control bytes escaped, long names
// cut); none for plain files, whose items the messages number.
std::vector<std::string> NamesShown(const std::vector<std::string>& itemNames)
{
    std::vector<std::string> shown;
    for (const std::string& name : itemNames) {
        shown.push_back(InputShown(name));
    }
    return shown;
}

} // namespace

RunController::RunController(RunPort& port) : port_(port) {}

void RunController::Initialise()
{
    workspace_ = Workspace{};
    ShowText(TextField::Status, "  READY");
    for (Button button : {Button::ReadSampleData, Button::About, Button::Exit}) {
        Enable(button, true);
    }
    Enable(Button::ConfigureAnalysis, false);
    Enable(Button::Compute, false);
}

void RunController::ShowText(TextField field, const std::string& text)
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

// The analyses' progress calls are where a run can be stopped: the port
// throws ComputationStopped there when the user asked for it.
void RunController::ShowStep(const std::string& text)
{
    port_.PollStop();
    bootstrapClock_.MarkStep();
    ShowText(TextField::Step, text);
}

void RunController::ShowProgress(const std::string& text)
{
    port_.PollStop();
    ShowText(TextField::Progress, text);
}

void RunController::ShowBootstrapProgress(int done, int total, double percent)
{
    port_.PollStop();
    port_.NoteBootstrapProgress(done, total);
    port_.ShowBootstrapTiming(bootstrapClock_.Note(done, total));
    AnalysisProgress::ShowBootstrapProgress(done, total, percent);
}

void RunController::NoteThreadsRefused(int started, int asked)
{
    // Both bootstrap loops of a run may meet the same limit; once is enough.
    if (threadsRefusedSaid_) {
        return;
    }
    threadsRefusedSaid_ = true;
    port_.ShowNote("The system started only " + std::to_string(started) + " of " + std::to_string(asked) +
                   " threads; the bootstrap goes on with " + std::to_string(started) +
                   " (the report is the same for every number of threads).");
}

void RunController::PrepareWorkerThread()
{
    // A worker starts with the registers of the thread that started it,
    // which the window's painting may have left in the slow state.
    ClearUpperVectorState();
}

void RunController::SetStatus(const std::string& text)
{
    workspace_.statusText = text;
    Display();
}

void RunController::Display()
{
    port_.DisplayTexts({workspace_.statusText, workspace_.sectionText, workspace_.stepText, workspace_.progressText});
}

void RunController::Enable(Button button, bool enabled)
{
    enabled_[button] = enabled;
    port_.SetButtonEnabled(button, enabled);
}

bool RunController::IsEnabled(Button button) const
{
    const auto found = enabled_.find(button);
    return found != enabled_.end() && found->second;
}

void RunController::ReadSampleData()
{
    const SampleDialogValues initial{workspace_.targetCount, workspace_.replicationCount, workspace_.variableCount,
                                     workspace_.targetFile,  workspace_.replicationFile,   workspace_.columnSource};
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
    workspace_.columnSource = chosen->columns;
    workspace_.itemNames.clear();
    workspace_.targetLosses.reset();
    workspace_.replicationLosses.reset();
    workspace_.rowOrigins = {};
    workspace_.groupSplit.reset();
    workspace_.dataWarnings.clear();

    CLocaleScope cLocale;
    if (chosen->columns) {
        if (!ReadColumnSamples(*chosen->columns, chosen->samples)) {
            RefuseData();
            return;
        }
    } else if (!ReadSample(workspace_.targetFile, workspace_.targetCount, workspace_.targetData,
                    "Error reading TARGET file!") ||
        !ReadSample(workspace_.replicationFile, workspace_.replicationCount, workspace_.replicationData,
                    "Error reading REPLICATION file!")) {
        RefuseData();
        return;
    }
    CheckForMissingCodes();
    Enable(Button::ConfigureAnalysis, true);
    Enable(Button::Compute, false);
    ShowText(TextField::Status, "  DATA LOADED!");
    workspace_.dataLoaded = true;
    DeriveScoreRange();
}

// Data that could not be read leave nothing to configure or compute, also
// when earlier data had been read.
void RunController::RefuseData()
{
    workspace_.dataLoaded = false;
    workspace_.analysisConfigured = false;
    Enable(Button::ConfigureAnalysis, false);
    Enable(Button::Compute, false);
    SetStatus("  READY");
}

bool RunController::ReadSample(const std::string& path, int rows, Matrix*& into, const char* errorMessage)
{
    const SampleSizeCheck check = CheckSampleFileSize(path, rows, workspace_.variableCount);
    if (!check.ok) {
        port_.ShowMessage(errorMessage);
        port_.ShowDetail(check.detail);
        return false;
    }
    into = NewMatrix(rows, workspace_.variableCount);
    const SampleReadResult result = ReadSampleFile(path, into, [this] { return ReadingStopAsked(); });
    if (result.stopped) {
        port_.ShowMessage(kReadingStopped);
        return false;
    }
    if (!result.ok) {
        port_.ShowMessage(errorMessage);
        port_.ShowDetail(result.detail);
        return false;
    }
    if (!result.note.empty()) {
        port_.ShowNote("Note on " + path + ": " + result.note);
    }
    return true;
}

bool RunController::ReadColumnSamples(SampleSource source, const std::shared_ptr<ExtractedSamples>& alreadyRead)
{
    source.targetFile = workspace_.targetFile;
    source.replicationFile = source.OneFile() ? workspace_.targetFile : workspace_.replicationFile;
    const ExtractedSamples samples =
        alreadyRead ? std::move(*alreadyRead) : ReadSamples(source, [this] { return ReadingStopAsked(); });
    if (samples.stopped) {
        port_.ShowMessage(kReadingStopped);
        return false;
    }
    if (!samples.ok) {
        port_.ShowMessage(samples.message);
        return false;
    }
    // The counts are the data's: those of the complete rows.
    const int items = static_cast<int>(samples.itemNames.size());
    workspace_.variableCount = items;
    workspace_.targetCount = samples.target.rows;
    workspace_.replicationCount = samples.replication.rows;
    for (const auto& [sample, into] : {std::pair{&samples.target, &workspace_.targetData},
                                       std::pair{&samples.replication, &workspace_.replicationData}}) {
        *into = NewMatrix(sample->rows, items);
        std::copy(sample->values.begin(), sample->values.end(), (*into)->Row(0));
    }
    workspace_.itemNames = samples.itemNames;
    workspace_.targetLosses = ReportedLosses(samples.target.losses);
    workspace_.replicationLosses = ReportedLosses(samples.replication.losses);
    workspace_.rowOrigins = {RowPlaces(source.targetFile, samples.target),
                             RowPlaces(source.replicationFile, samples.replication)};
    // One note, so that a window that shows one note at a time shows all.
    std::string note;
    workspace_.groupSplit.reset();
    if (samples.groups) {
        note = GroupRowsLine(*samples.groups) + "\n";
        workspace_.groupSplit = ReportedSplit(*samples.groups);
    }
    port_.ShowNote(note + LossesLine("Target", samples.target.rows, samples.target.losses, samples.itemNames) + "\n" +
                   LossesLine("Replication", samples.replication.rows, samples.replication.losses, samples.itemNames));
    return true;
}

// The port's stop poll throws, which must not cross the readers: they ask
// between chunks of rows and end the reading themselves.
bool RunController::ReadingStopAsked()
{
    try {
        port_.PollStop();
    } catch (const ComputationStopped&) {
        return true;
    }
    return false;
}

namespace {

std::vector<SuspectMissingCode> SuspectCodes(const Matrix* target, const Matrix* replication)
{
    MissingCodeScan scan(target->Cols());
    for (const Matrix* sample : {target, replication}) {
        for (int row = 0; row < sample->Rows(); ++row) {
            scan.AddRow(sample->Row(row));
        }
    }
    return scan.Suspects();
}

} // namespace

void RunController::CheckForMissingCodes()
{
    const std::vector<SuspectMissingCode> suspects =
        SuspectCodes(workspace_.targetData, workspace_.replicationData);
    if (suspects.empty()) {
        return;
    }
    std::string description;
    for (const SuspectMissingCode& suspect : suspects) {
        const std::string said = DescribeSuspectCode(suspect, workspace_.itemNames);
        description += (description.empty() ? "" : "\n") + said;
        workspace_.dataWarnings.push_back(said + " It was analysed as a score; if it marks missing answers, "
                                                 "declare it missing and compute again.");
    }
    port_.ShowSuspectCodes(description, SuspectCodeList(suspects), workspace_.columnSource.has_value());
}

void RunController::DeriveScoreRange()
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

void RunController::ConfigureAnalysis()
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
    // Scores that are no whole numbers would be truncated into categories
    // silently: the dialog refuses polychoric correlations for them.
    initial.unusablePolychoricScores = UnusablePolychoricScores(
        workspace_.targetData, workspace_.replicationData, NamesShown(workspace_.itemNames), workspace_.rowOrigins);
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

bool RunController::Compute()
{
    if (!workspace_.dataLoaded) {
        port_.ShowMessage("Data must be read before the computing");
        return false;
    }
    if (!workspace_.analysisConfigured) {
        port_.ShowMessage("Analysis must be configured before the computing");
        return false;
    }
    // Every output is checked before anything is computed or replaced.
    if (const std::optional<std::string> problem = OutputPathProblem(
            {{workspace_.outputFile, "report file", true},
             {workspace_.jsonFile, "JSON file"},
             {workspace_.htmlFile, "HTML file"}},
            {{workspace_.targetFile, "Target sample data file"},
             {workspace_.replicationFile, "Replication sample data file"}})) {
        port_.ShowMessage(*problem);
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
    // A run that ends without a report gives the window back as it was.
    auto refuse = [&](const std::string& message) {
        port_.SetWaitCursor(false);
        port_.ShowMessage(message);
        for (Button button : lockOrder) {
            Enable(button, enabledBefore[button]);
        }
        SetStatus(statusBefore);
        return false;
    };

    CLocaleScope cLocale;
    // The report and its companion are written beside their paths and put in
    // place only when complete: a run that fails or is stopped leaves the
    // earlier files as they were.
    AtomicFile report(reportPath);
    std::unique_ptr<AtomicFile> companion;
    std::string error;
    if (!report.Open(error)) {
        return refuse("The report file \"" + reportPath + "\" could not be opened for writing (" + error +
                      "). Check that its folder exists and that you may write there, then compute again.");
    }
    if (!workspace_.jsonFile.empty()) {
        companion = std::make_unique<AtomicFile>(workspace_.jsonFile);
        if (!companion->Open(error)) {
            return refuse("The JSON file \"" + workspace_.jsonFile + "\" could not be opened for writing (" + error +
                          "). Check that its folder exists and that you may write there, then compute again.");
        }
    }
    std::unique_ptr<AtomicFile> page;
    if (!workspace_.htmlFile.empty()) {
        page = std::make_unique<AtomicFile>(workspace_.htmlFile);
        if (!page->Open(error)) {
            return refuse("The HTML file \"" + workspace_.htmlFile + "\" could not be opened for writing (" + error +
                          "). Check that its folder exists and that you may write there, then compute again.");
        }
    }
    RunResults results;
    threadsRefusedSaid_ = false;
    failedInternally_ = false;
    try {
        ReportContext context;
        context.report = report.Stream();
        context.startTime = std::time(nullptr);
        context.startLocal = LocalCalendarTime(context.startTime);
        WriteReportHeader(context);
        WriteDetailsBlock(context, DetailsOf(workspace_));
        // The window's painting may have left this thread's vector registers
        // in the state that slows the computation down.
        ClearUpperVectorState();
        results = RunAnalyses(context);
        context.endTime = std::time(nullptr);
        WriteClosingLines(context);
        if (companion) {
            WriteJsonReport(companion->Stream(), DetailsOf(workspace_), results);
        }
        if (page) {
            const std::string html = HtmlReport(DetailsOf(workspace_), results);
            std::fwrite(html.data(), 1, html.size(), page->Stream());
        }
        // A stop asked for after the last replicate still keeps the earlier files.
        port_.PollStop();
    } catch (const ComputationStopped&) {
        report.Discard();
        companion.reset();
        page.reset();
        return refuse("The computation was stopped. The report file \"" + reportPath + "\" was not changed.");
    } catch (const std::bad_alloc&) {
        report.Discard();
        companion.reset();
        page.reset();
        return refuse("There was not enough memory for the computation. Close other programs, or choose fewer "
                      "bootstrap samples or threads, then compute again. The report file \"" +
                      reportPath + "\" was not changed.");
    } catch (const std::exception& failure) {
        report.Discard();
        companion.reset();
        page.reset();
        failedInternally_ = true;
        return refuse(std::string("The computation failed (") + failure.what() + "). The report file \"" +
                      reportPath + "\" was not changed.");
    }
    // Every output is complete on the disk before any of them replaces its
    // earlier file, and they replace them together: a failure keeps every
    // earlier file, and two runs writing the same files leave one run's set.
    std::vector<std::pair<AtomicFile*, std::string>> outputs{{&report, "report file"}};
    if (companion) {
        outputs.emplace_back(companion.get(), "JSON file");
    }
    if (page) {
        outputs.emplace_back(page.get(), "HTML file");
    }
    std::vector<AtomicFile*> files;
    for (const auto& [file, kind] : outputs) {
        if (!file->Finish(error)) {
            return refuse("The " + kind + " \"" + file->Path() + "\" could not be written completely (" + error +
                          "); the earlier files were kept. Check the free space of its disk, then compute again.");
        }
        files.push_back(file);
    }
    const AtomicFile* failed = nullptr;
    if (!ReplaceTogether(files, error, failed)) {
        if (failed == &report) {
            return refuse("The report file \"" + reportPath + "\" could not be put in place (" + error +
                          "); the earlier files were kept. Check that you may write in its folder, then compute "
                          "again.");
        }
    }
    port_.SetWaitCursor(false);
    SetStatus("  JOB DONE!");
    for (Button button : {Button::ReadSampleData, Button::ConfigureAnalysis, Button::Exit, Button::About}) {
        Enable(button, true);
    }
    std::error_code noPath;
    const std::filesystem::path shownPath = std::filesystem::absolute(FilePath(reportPath), noPath);
    port_.ShowReportWritten(noPath ? reportPath : Utf8Name(shownPath));
    if (failed) {
        // A rename that fails after the report's (the folder changed under
        // the run) leaves that file and those after it as they were.
        for (const auto& [file, kind] : outputs) {
            if (file == failed) {
                port_.ShowMessage("The report was written, but its " + kind + " \"" + file->Path() +
                                  "\" could not be put in place (" + error +
                                  "); the earlier file was kept. Check that you may write in its folder.");
            }
        }
    }
    port_.ShowResults(DetailsOf(workspace_), results, reportPath);
    port_.OpenReport(reportPath);
    return failed == nullptr;
}

RunResults RunController::RunAnalyses(ReportContext& context)
{
    const Workspace& w = workspace_;
    const AnalysisOptions& o = w.options;
    const bool covariances = DispersionKindFromCode(o.dispersionKind) == DispersionKind::Covariance;
    ComputeContext compute{*this, random_, w.threadCount};
    const bool discriminations = o.showDiscriminations || (o.showResidualVariances && covariances);
    const bool indices = o.showCongruence || o.showDiscrepancy;
    // The time left counts both bootstrap phases of the run.
    bootstrapClock_.StartRun((discriminations ? 1 : 0) + (indices ? 1 : 0));
    RunResults results;
    const std::vector<std::string> names = NamesShown(w.itemNames);
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
                                                       w.replicationCount, o.alphaCode, names, context);
        between();
    }
    if (discriminations) {
        ShowText(TextField::Section, "Item discriminations");
        results.discriminations = AnalyzeItemDiscriminations(
            compute, w.targetData, w.replicationData, w.itemLowest, w.itemHighest, o.factorCount,
            o.bootstrapSamples, w.categoryCount, o.alphaCode, kAnalysisTolerance, o.extractionMethod,
            o.dispersionKind, o.showDiscriminations, o.showResidualVariances, names, context);
        results.loadingsAsked = o.showDiscriminations;
        results.residualVariancesAsked = o.showResidualVariances && covariances;
        between();
    }
    if (o.showDifficultyFit) {
        results.hotelling =
            HotellingTSquare(w.targetData, w.replicationData, w.targetCount, w.replicationCount, context);
    }
    if (indices) {
        ShowText(TextField::Section, "Indices of invariance");
        results.invariance = AnalyzeInvarianceIndices(
            compute, w.targetData, w.replicationData, w.itemLowest, w.itemHighest, o.factorCount,
            o.bootstrapSamples, o.alphaCode, kAnalysisTolerance, o.extractionMethod, o.dispersionKind,
            o.showCongruence, o.showDiscrepancy, names, context);
        between();
    }
    return results;
}

void RunController::Exit()
{
    FreeAllMatrices();
    workspace_.targetData = nullptr;
    workspace_.replicationData = nullptr;
    workspace_.itemLowest = nullptr;
    workspace_.itemHighest = nullptr;
}

} // namespace talver
