#pragma once
// What the main window's commands need from whatever shows the window: the
// Qt window and the batch front end each provide one.

#include "app/DialogPort.h"

#include <optional>
#include <string>

namespace talver {

struct SampleDialogValues;
struct OptionsDialogValues;
struct ReportDetails;
struct RunResults;

// The four text lines of the main window.
enum class TextField { Status, Section, Step, Progress };

enum class Button { ReadSampleData = 1000, ConfigureAnalysis = 1001, Compute = 1003, About = 1002, Exit = 1 };

struct WindowTexts {
    std::string status;
    std::string section;
    std::string step;
    std::string progress;
};

class RunPort : public DialogPort {
public:
    // Shows the four texts and repaints the window at once.
    virtual void DisplayTexts(const WindowTexts& texts) = 0;
    // What the four text fields show now.
    virtual WindowTexts DisplayedTexts() const = 0;
    virtual void SetButtonEnabled(Button button, bool enabled) = 0;
    virtual void SetWaitCursor(bool waiting) = 0;
    // Modal dialogs: the confirmed values, or nothing when cancelled.
    virtual std::optional<SampleDialogValues> RunSampleDialog(const SampleDialogValues& initial) = 0;
    virtual std::optional<OptionsDialogValues> RunOptionsDialog(const OptionsDialogValues& initial) = 0;
    // Starts a text editor on the closed report without waiting for it.
    virtual void OpenReport(const std::string& path) = 0;
    // Called when a reading error was shown, with the reason, for front ends
    // that can show more than the message box.
    virtual void ShowDetail(const std::string& /*detail*/) {}
    // A note about the data or the run that needs no answer, such as the
    // report file written; shown with the details by default.
    virtual void ShowNote(const std::string& note) { ShowDetail(note); }
    // Told after a run with the full path of the report it wrote; said as a
    // note by default. A front end that shows the path in a place of its own
    // needs no note.
    virtual void ShowReportWritten(const std::string& path) { ShowNote("Report written to " + path); }
    // Told after reading when scores look like codes of missing answers:
    // `description` names each code, its items and counts; `codes` lists
    // them ("-9,99"); `declarable` says whether the samples' missing codes
    // can take them (files with column names). The run goes on with them as
    // scores. Said as a note by default.
    virtual void ShowSuspectCodes(const std::string& description, const std::string& /*codes*/,
                                  bool /*declarable*/)
    {
        ShowNote(description);
    }
    // Called at every progress call of a running analysis. A front end whose
    // user asked to stop throws ComputationStopped here; the run then ends
    // without replacing any earlier output.
    virtual void PollStop() {}
    // Told before the counter text of bootstrap replicate `done` (0-based) of
    // `total` is displayed, for front ends that thin out the counter.
    virtual void NoteBootstrapProgress(int /*done*/, int /*total*/) {}
    // Told next, before the counter is displayed: the time elapsed in the
    // bootstrap phase and an estimate of the time left, to show beside it.
    virtual void ShowBootstrapTiming(const std::string& /*text*/) {}
    // Told after a run whose report was written, with what it found, for
    // front ends that show the results themselves.
    virtual void ShowResults(const ReportDetails& /*details*/, const RunResults& /*results*/,
                             const std::string& /*reportPath*/)
    {
    }
};

} // namespace talver
