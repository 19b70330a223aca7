#include "report/MarkupText.h"

#include "matrix/NumberText.h"

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
    // Rounded from the exact binary value, in no locale. printf writes -0.000
    // for small negatives; so does this. Keep it: the text report shows the same.
    return FixedDecimalsText(value, decimals);
}

} // namespace talver
