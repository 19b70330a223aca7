#include "app/batch/ProgressPrinter.h"

#include "analyses/AnalysisProgress.h"

#include <algorithm>
#include <string>

namespace talver {

bool HasText(const std::string& text)
{
    return text.find_first_not_of(' ') != std::string::npos;
}

namespace {

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string FittedLine(const std::vector<std::string>& parts, int columns)
{
    const std::size_t room = static_cast<std::size_t>(std::max(columns - 1, 1));
    std::vector<std::string> shown;
    for (const std::string& part : parts) {
        if (HasText(part)) {
            shown.push_back(Trimmed(part));
        }
    }
    auto joined = [&shown](std::size_t from) {
        std::string line;
        for (std::size_t i = from; i < shown.size(); ++i) {
            line += (line.empty() ? "" : " | ") + shown[i];
        }
        return line;
    };
    std::size_t from = 0;
    while (from + 1 < shown.size() && joined(from).size() > room) {
        ++from;
    }
    std::string line = joined(from);
    if (line.size() > room) {
        line.resize(room);
    }
    return line;
}

ProgressPrinter::ProgressPrinter(std::FILE* stream, bool live, int columns)
    : stream_(stream), live_(live), columns_(columns > 0 ? columns : kDefaultColumns)
{
}

ProgressPrinter::~ProgressPrinter()
{
    Interrupt();
}

void ProgressPrinter::Interrupt()
{
    if (lineOpen_) {
        std::fputs("\n", stream_);
        lineOpen_ = false;
    }
    std::fflush(stream_);
}

void ProgressPrinter::NoteBootstrapProgress(int done, int total)
{
    // Replicates are counted from 0; a tenth is reached after 10 x (k) / total.
    const long long finished = static_cast<long long>(done) + 1;
    progressDue_ = total > 0 && (finished == total || (finished * 10) / total != (finished * 10 - 10) / total);
    phaseDone_ = finished == total ? total : 0;
}

void ProgressPrinter::NoteBootstrapTiming(const std::string& text)
{
    timing_ = text;
}

void ProgressPrinter::Show(const WindowTexts& given)
{
    WindowTexts texts = given;
    if (!HasText(texts.progress)) {
        timing_.clear();
        phaseDone_ = 0;
    } else if (phaseDone_ > 0) {
        // The counter shows the replicate begun, from 0; its last update
        // says that all of them are done.
        texts.progress = BootstrapProgressText(phaseDone_, 100.0);
    }
    if (live_) {
        const std::string counter = HasText(texts.progress) && !timing_.empty()
                                        ? Trimmed(texts.progress) + ", " + timing_
                                        : texts.progress;
        const std::string line = FittedLine({texts.status, texts.section, texts.step, counter}, columns_);
        std::fprintf(stream_, "\r\033[K%s", line.c_str());
        std::fflush(stream_);
        lineOpen_ = true;
    } else {
        PrintPlain(texts);
    }
    last_ = texts;
}

void ProgressPrinter::PrintPlain(const WindowTexts& texts)
{
    if (texts.status != last_.status && HasText(texts.status)) {
        std::fprintf(stream_, "%s\n", Trimmed(texts.status).c_str());
    }
    if (texts.section != last_.section && HasText(texts.section)) {
        std::fprintf(stream_, "%s\n", Trimmed(texts.section).c_str());
    }
    if (texts.step != last_.step && HasText(texts.step)) {
        std::fprintf(stream_, "  %s\n", Trimmed(texts.step).c_str());
    }
    if (texts.progress != last_.progress && HasText(texts.progress) && progressDue_) {
        std::fprintf(stream_, "    %s%s%s\n", Trimmed(texts.progress).c_str(), timing_.empty() ? "" : ", ",
                     timing_.c_str());
        progressDue_ = false;
    }
    std::fflush(stream_);
}

} // namespace talver
