#include "report/MarkupText.h"

#include <charconv>
#include <cmath>

#include "report/Utf8Text.h"

namespace talver {

std::string MarkupEscaped(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        case '\t':
        case '\n':
        case '\r': escaped += static_cast<char>(c); break;
        default:
            if (c < 0x20 || c == 0x7F) {
                // Control characters may not appear in a page, not even as
                // character references.
                escaped += kReplacementCharacter;
            } else if (c < 0x80) {
                escaped += static_cast<char>(c);
            } else if (const std::size_t length = Utf8SequenceLength(text, i)) {
                escaped.append(text, i, length);
                i += length - 1;
            } else {
                escaped += kReplacementCharacter;
            }
        }
    }
    return escaped;
}

std::string FixedText(double value, int decimals)
{
    if (!std::isfinite(value)) {
        return "n/a";
    }
    // to_chars rounds the exact binary value as printf does, and knows no locale.
    char buffer[400];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    // printf writes -0.000 for small negatives; so does to_chars. Keep it: the
    // text report shows the same.
    return text;
}

} // namespace talver
