#include "report/MarkupText.h"

#include "matrix/NumberText.h"

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
    // Rounded from the exact binary value as printf does, in no locale.
    std::string text = FixedDecimalsText(value, decimals);
    // printf writes -0.000 for a small negative value; a zero has no sign in
    // a table (the text report keeps printf's).
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::string PValueText(double p)
{
    if (!std::isfinite(p)) {
        return "n/a";
    }
    if (p < 0.001) {
        return "< .001";
    }
    // Three decimals without the leading zero, as a value that cannot
    // exceed 1 is written in papers; .9995 and above rounds to 1.000.
    const std::string text = FixedText(p, 3);
    return text.rfind("0.", 0) == 0 ? text.substr(1) : text;
}

} // namespace talver
