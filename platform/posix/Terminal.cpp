#include "platform/Terminal.h"

#include <cstdio>
#include <cstdlib>
#include <sys/ioctl.h>
#include <unistd.h>

namespace talver {

bool StandardErrorIsTerminal()
{
    return isatty(fileno(stderr)) == 1;
}

int StandardErrorColumns()
{
    winsize size{};
    if (ioctl(fileno(stderr), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    constexpr int kUnknownWidth = 80;
    const char* columns = std::getenv("COLUMNS");
    if (columns == nullptr) {
        return kUnknownWidth;
    }
    char* end = nullptr;
    const long value = std::strtol(columns, &end, 10);
    return end != columns && *end == '\0' && value > 0 && value < 10000 ? static_cast<int>(value) : kUnknownWidth;
}

} // namespace talver
