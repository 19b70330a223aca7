#include "platform/Terminal.h"

#include <cstdio>
#include <cstdlib>
#include <io.h>

#include <windows.h>

namespace talver {

bool StandardErrorIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

int StandardErrorColumns()
{
    // The console window's visible width, not its buffer's.
    CONSOLE_SCREEN_BUFFER_INFO console{};
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &console)) {
        const int width = console.srWindow.Right - console.srWindow.Left + 1;
        if (width > 0) {
            return width;
        }
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
