#include "analyses/AnalysisProgress.h"

#include <cstdio>

namespace talver {

std::string BootstrapProgressText(int done, double percent)
{
    char text[64];
    std::snprintf(text, sizeof text, "Done: %4i (%6.2f%%)", done, percent);
    return text;
}

void AnalysisProgress::ShowBootstrapProgress(int done, int /*total*/, double percent)
{
    ShowProgress(BootstrapProgressText(done, percent));
}

} // namespace talver
