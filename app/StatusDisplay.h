#pragma once
// The four text lines of the main window, as the analyses and the run see them.
// Only the thread that runs the analyses calls them, also while other threads
// compute bootstrap replicates: the window may only be painted from there.

#include <string>

enum class TextField { Status, Section, Step, Progress };

class StatusDisplay {
public:
    virtual ~StatusDisplay() = default;
    // Sets one of the four texts and shows all four at once.
    virtual void ShowText(TextField field, const std::string& text) = 0;
    // The bootstrap counter after replicate `done` (0-based) of `total`; each
    // analysis computes the percentage in its own order of operations.
    virtual void ShowBootstrapProgress(int done, int total, double percent);
};

// "Done: %4i (%6.2f%%)".
std::string BootstrapProgressText(int done, double percent);
