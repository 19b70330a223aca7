#include "platform/ConsoleText.h"

#include "platform/windows/WidePath.h"

#include <io.h>

#include <windows.h>

namespace talver {

void WriteText(std::FILE* stream, const std::string& utf8)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
        std::fwrite(utf8.data(), 1, utf8.size(), stream);
        return;
    }
    // What the C library holds goes first, so that the lines keep their order.
    std::fflush(stream);
    const std::wstring text = WidePath(utf8);
    DWORD written = 0;
    WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace talver
