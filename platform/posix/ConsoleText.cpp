#include "platform/ConsoleText.h"

namespace talver {

void WriteText(std::FILE* stream, const std::string& utf8)
{
    // A terminal shows the bytes in the user's locale, which the names came
    // from.
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

} // namespace talver
