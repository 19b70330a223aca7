#include "report/MarkupText.h"

#include <charconv>
#include <cmath>

namespace talver {

std::string MarkupEscaped(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
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
