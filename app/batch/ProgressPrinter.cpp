#include "app/batch/ProgressPrinter.h"

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

ProgressPrinter::ProgressPrinter(std::FILE* stream, bool live) : stream_(stream), live_(live) {}

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
}

void ProgressPrinter::NoteBootstrapTiming(const std::string& text)
{
    timing_ = text;
}

void ProgressPrinter::Show(const WindowTexts& texts)
{
    if (!HasText(texts.progress)) {
        timing_.clear();
    }
    if (live_) {
        std::string line;
        for (const std::string* part : {&texts.status, &texts.section, &texts.step, &texts.progress}) {
            if (HasText(*part)) {
                line += (line.empty() ? "" : " | ") + Trimmed(*part);
            }
        }
        if (!timing_.empty()) {
            line += ", " + timing_;
        }
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
