#include "data/InputShown.h"

#include <cstdio>

namespace talver {

namespace {

// The length of the valid UTF-8 sequence that starts at `at`, or 0. Overlong
// forms, surrogates and code points above U+10FFFF are not valid (RFC 3629).
std::size_t Utf8Length(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned char first = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        low = first == 0xE0 ? 0xA0 : 0x80;
        high = first == 0xED ? 0x9F : 0xBF;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        low = first == 0xF0 ? 0x90 : 0x80;
        high = first == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

void AppendEscaped(std::string& shown, unsigned char c)
{
    if (c == 0) {
        shown += "\\0";
        return;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
    shown += escaped;
}

} // namespace

std::string InputShown(std::string_view text, std::size_t most)
{
    std::string shown;
    std::size_t characters = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        if (characters == most) {
            return shown + "\xE2\x80\xA6";
        }
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F) {
                AppendEscaped(shown, c);
            } else {
                shown += static_cast<char>(c);
            }
            ++at;
        } else if (const std::size_t length = Utf8Length(text, at); length == 0) {
            AppendEscaped(shown, c);
            ++at;
        } else if (c == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0) {
            // U+0080 to U+009F: the C1 controls, which terminals act on too.
            AppendEscaped(shown, c);
            AppendEscaped(shown, static_cast<unsigned char>(text[at + 1]));
            at += 2;
        } else {
            shown.append(text.substr(at, length));
            at += length;
        }
        ++characters;
    }
    return shown;
}

} // namespace talver
