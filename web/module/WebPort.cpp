#include "web/module/WebPort.h"

#include "app/OptionsDialogRules.h"
#include "app/SampleDialogRules.h"
#include "web/module/PageMessages.h"

#include <emscripten.h>

#include <map>

namespace talver {

namespace {

// The page redraws its counter at most this often (ms): posting every
// replicate of a fast run would only fill the page's queue.
constexpr double kProgressInterval = 100.0;

// The page's field for each edit field of the dialogs.
const std::map<int, const char*> kPageFieldOfControl = {
    {SampleDialogRules::kTargetCountField, "target-count"},
    {SampleDialogRules::kReplicationCountField, "replication-count"},
    {SampleDialogRules::kVariableCountField, "item-count"},
    {OptionsDialogRules::kBootstrapSamplesField, "samples"},
    {OptionsDialogRules::kFactorCountField, "factors"},
    {OptionsDialogRules::kLowestScoreField, "lowest"},
    {OptionsDialogRules::kHighestScoreField, "highest"},
};

} // namespace

WebPort::WebPort(const BatchOptions& options) : BatchPort(options, false) {}

void WebPort::FocusField(int controlId)
{
    BatchPort::FocusField(controlId);
    const auto field = kPageFieldOfControl.find(controlId);
    if (field != kPageFieldOfControl.end()) {
        PostToPage("focus", field->second);
    }
}

void WebPort::DisplayTexts(const WindowTexts& texts)
{
    const bool stepChanged = texts.status != shown_.status || texts.section != shown_.section ||
                             texts.step != shown_.step;
    shown_ = texts;
    if (stepChanged) {
        // The counter and the time left belong to the bootstrap of one step:
        // a new step starts without them, not with the last step's full bar.
        done_ = -1;
        total_ = 0;
        timing_.clear();
    }
    PostProgress(stepChanged);
}

void WebPort::NoteBootstrapProgress(int done, int total)
{
    done_ = done;
    total_ = total;
}

void WebPort::ShowBootstrapTiming(const std::string& text)
{
    timing_ = text;
}

void WebPort::PostProgress(bool always)
{
    const double now = emscripten_get_now();
    const bool last = done_ + 1 == total_;
    if (!always && !last && now - lastPosted_ < kProgressInterval) {
        return;
    }
    lastPosted_ = now;
    PostProgressToPage(shown_, done_ + 1, total_, timing_);
}

} // namespace talver
