#include "app/batch/TerminalWidth.h"

#include <cstdlib>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace talver {

namespace {

constexpr int kUnknownWidth = 80;

int ColumnsFromEnvironment()
{
    const char* columns = std::getenv("COLUMNS");
    if (columns == nullptr) {
        return 0;
    }
    char* end = nullptr;
    const long value = std::strtol(columns, &end, 10);
    return end != columns && *end == '\0' && value > 0 && value < 10000 ? static_cast<int>(value) : 0;
}

} // namespace

int TerminalColumns(std::FILE* stream)
{
#if defined(_WIN32)
    CONSOLE_SCREEN_BUFFER_INFO info;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (GetConsoleScreenBufferInfo(handle, &info)) {
        return info.srWindow.Right - info.srWindow.Left + 1;
    }
#else
    winsize size{};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
#endif
    const int fromEnvironment = ColumnsFromEnvironment();
    return fromEnvironment > 0 ? fromEnvironment : kUnknownWidth;
}

} // namespace talver
