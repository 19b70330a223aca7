#pragma once
// Shows the window's four texts on stderr: one live line on a terminal, plain
// lines otherwise (every change of status, section or step, and the bootstrap
// counter at every tenth of the run), the counter followed by the time
// elapsed and an estimate of the time left. The live line stays within the
// terminal's width, so that every update overwrites the last; the counter's
// last update shows the whole phase done, at 100.00 %.

#include "app/RunPort.h"

#include <cstdio>
#include <string>
#include <vector>

namespace talver {

class ProgressPrinter {
public:
    // `columns`: the terminal's width.
    ProgressPrinter(std::FILE* stream, bool live, int columns = kDefaultColumns);
    static constexpr int kDefaultColumns = 80;
    ~ProgressPrinter();

    void Show(const WindowTexts& texts);
    void NoteBootstrapProgress(int done, int total);
    // Elapsed and estimated time, shown after the counter while it is shown.
    void NoteBootstrapTiming(const std::string& text);
    // Ends the live line before other output goes to the same stream.
    void Interrupt();

private:
    void PrintPlain(const WindowTexts& texts);
    std::string LiveLine(const WindowTexts& texts) const;

    std::FILE* stream_;
    bool live_;
    int columns_;
    // The counter's total when its last replicate is shown, else 0.
    int phaseDone_ = 0;
    bool lineOpen_ = false;
    bool progressDue_ = false;
    WindowTexts last_;
    std::string timing_;
};

// The live line of `status`, `section`, `step` and `counter` within
// `columns` - 1 characters (a line that fills the last column wraps on some
// terminals): the status, then the section, then the step give way first.
std::string FittedLine(const std::vector<std::string>& parts, int columns);

// Whether `text` shows anything but blanks.
bool HasText(const std::string& text);

} // namespace talver
