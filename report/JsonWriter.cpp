#include "report/JsonWriter.h"

#include "matrix/NumberText.h"

#include <cmath>

#include "report/Utf8Text.h"

namespace talver {

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
