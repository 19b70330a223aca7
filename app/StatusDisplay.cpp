#include "app/StatusDisplay.h"

#include <cstdio>

std::string BootstrapProgressText(int done, double percent)
{
    char text[64];
    std::snprintf(text, sizeof text, "Done: %4i (%6.2f%%)", done, percent);
    return text;
}

void StatusDisplay::ShowBootstrapProgress(int done, int /*total*/, double percent)
{
    ShowText(TextField::Progress, BootstrapProgressText(done, percent));
}
