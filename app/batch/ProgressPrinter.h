#pragma once
// Shows the window's four texts on stderr: one live line on a terminal, plain
// lines otherwise (every change of status, section or step, and the bootstrap
// counter at every tenth of the run), the counter followed by the time
// elapsed and an estimate of the time left.

#include "app/RunPort.h"

#include <cstdio>

namespace talver {

class ProgressPrinter {
public:
    ProgressPrinter(std::FILE* stream, bool live);
    ~ProgressPrinter();

    void Show(const WindowTexts& texts);
    void NoteBootstrapProgress(int done, int total);
    // Elapsed and estimated time, shown after the counter while it is shown.
    void NoteBootstrapTiming(const std::string& text);
    // Ends the live line before other output goes to the same stream.
    void Interrupt();

private:
    void PrintPlain(const WindowTexts& texts);

    std::FILE* stream_;
    bool live_;
    bool lineOpen_ = false;
    bool progressDue_ = false;
    WindowTexts last_;
    std::string timing_;
};

// Whether `text` shows anything but blanks.
bool HasText(const std::string& text);

} // namespace talver
