#include "report/JsonWriter.h"

#include "matrix/NumberText.h"

#include <cmath>

namespace talver {

namespace {

// The length of the well-formed UTF-8 sequence at text[i] (Unicode 15,
// table 3-7: no overlong forms, no surrogates, nothing above U+10FFFF), or 0.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

} // namespace

std::string JsonQuoted(const std::string& text)
{
    std::string quoted = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\t': quoted += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                quoted += escaped;
            } else if (c < 0x80) {
                quoted += static_cast<char>(c);
            } else if (const std::size_t length = Utf8SequenceLength(text, i)) {
                quoted.append(text, i, length);
                i += length - 1;
            } else {
                // A byte that is no part of UTF-8 text (a file name in another
                // encoding): the replacement character keeps the file valid.
                quoted += "\\ufffd";
            }
        }
    }
    return quoted + "\"";
}

void JsonWriter::Indent()
{
    std::fputc('\n', out_);
    for (std::size_t i = 0; i < hasElement_.size(); ++i) {
        std::fputs("  ", out_);
    }
}

void JsonWriter::Key(const char* key)
{
    if (!hasElement_.empty()) {
        if (hasElement_.back()) {
            std::fputc(',', out_);
        }
        hasElement_.back() = true;
        Indent();
    }
    if (key) {
        std::fprintf(out_, "%s: ", JsonQuoted(key).c_str());
    }
}

void JsonWriter::Open(const char* key, char bracket)
{
    Key(key);
    std::fputc(bracket, out_);
    hasElement_.push_back(false);
}

void JsonWriter::Close(char bracket)
{
    const bool hadElement = hasElement_.back();
    hasElement_.pop_back();
    if (hadElement) {
        Indent();
    }
    std::fputc(bracket, out_);
    if (hasElement_.empty()) {
        std::fputc('\n', out_);
    }
}

void JsonWriter::BeginObject(const char* key)
{
    Open(key, '{');
}

void JsonWriter::EndObject()
{
    Close('}');
}

void JsonWriter::BeginArray(const char* key)
{
    Open(key, '[');
}

void JsonWriter::EndArray()
{
    Close(']');
}

void JsonWriter::Number(const char* key, double value)
{
    Key(key);
    if (std::isfinite(value)) {
        // The shortest text that reads back as exactly this double.
        std::fputs(ShortestText(value).c_str(), out_);
    } else {
        std::fputs("null", out_);
    }
}

void JsonWriter::Integer(const char* key, long long value)
{
    Key(key);
    std::fprintf(out_, "%lld", value);
}

void JsonWriter::Boolean(const char* key, bool value)
{
    Key(key);
    std::fputs(value ? "true" : "false", out_);
}

void JsonWriter::String(const char* key, const std::string& value)
{
    Key(key);
    std::fputs(JsonQuoted(value).c_str(), out_);
}

} // namespace talver
