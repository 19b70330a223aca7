#pragma once
// A small streaming JSON writer: objects, arrays, strings and numbers at full
// double precision, as the shortest text that reads back exactly (non-finite
// numbers become null). Never depends on the locale.

#include <cstdio>
#include <string>
#include <vector>

namespace talver {

class JsonWriter {
public:
    explicit JsonWriter(std::FILE* out) : out_(out) {}

    void BeginObject(const char* key = nullptr);
    void EndObject();
    void BeginArray(const char* key = nullptr);
    void EndArray();
    void Number(const char* key, double value);
    void Integer(const char* key, long long value);
    void Boolean(const char* key, bool value);
    void String(const char* key, const std::string& value);

private:
    void Key(const char* key);
    void Indent();
    void Open(const char* key, char bracket);
    void Close(char bracket);

    std::FILE* out_;
    // Per open container: whether it has an element already.
    std::vector<bool> hasElement_;
};

// `text` as a quoted JSON string.
std::string JsonQuoted(const std::string& text);

} // namespace talver
