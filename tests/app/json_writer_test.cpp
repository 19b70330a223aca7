#include "report/JsonWriter.h"

#include "support/report_capture.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cwchar>
#include <locale.h>
#include <limits>

using namespace talver;

namespace {

TEST(JsonWriter, NestsWithCommasAndIndentation)
{
    CapturedReport out;
    JsonWriter json(out.context.report);
    json.BeginObject();
    json.Integer("n", 3);
    json.BeginArray("list");
    json.BeginObject();
    json.Boolean("flag", true);
    json.EndObject();
    json.BeginObject();
    json.EndObject();
    json.EndArray();
    json.BeginArray("empty");
    json.EndArray();
    json.EndObject();
    EXPECT_EQ(out.Text(), "{\n  \"n\": 3,\n  \"list\": [\n    {\n      \"flag\": true\n    },\n    {}\n  ],\n"
                          "  \"empty\": []\n}\n");
}

TEST(JsonWriter, NumbersReadBackExactlyAndNonFiniteIsNull)
{
    CapturedReport out;
    JsonWriter json(out.context.report);
    json.BeginObject();
    json.Number("a", 0.05);
    json.Number("b", 0.1 + 0.2);
    json.Number("c", std::nan(""));
    json.Number("d", -std::numeric_limits<double>::infinity());
    json.Number("e", 1e-300);
    json.EndObject();
    const std::string text = out.Text();
    EXPECT_NE(text.find("\"a\": 0.05,"), std::string::npos);
    EXPECT_NE(text.find("\"b\": 0.30000000000000004,"), std::string::npos);
    EXPECT_NE(text.find("\"c\": null,"), std::string::npos);
    EXPECT_NE(text.find("\"d\": null,"), std::string::npos);
    EXPECT_NE(text.find("\"e\": 1e-300"), std::string::npos);
}

TEST(JsonWriter, StringsAreEscaped)
{
    EXPECT_EQ(JsonQuoted("a\"b\\c\nd\te\x01"), "\"a\\\"b\\\\c\\nd\\te\\u0001\"");
    EXPECT_EQ(JsonQuoted("C:\\data\\t\xC3\xA9st.dat"), "\"C:\\\\data\\\\t\xC3\xA9st.dat\"");
}

// Whether the text decodes as UTF-8 from end to end, by the C library's own
// decoder: a reference independent of the writer's.
bool DecodesAsUtf8(const std::string& text)
{
    locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (utf8 == static_cast<locale_t>(0)) {
        return true;
    }
    const locale_t previous = uselocale(utf8);
    std::mbstate_t state{};
    bool decodes = true;
    for (std::size_t i = 0; i < text.size() && decodes;) {
        wchar_t wide = 0;
        const std::size_t used = std::mbrtowc(&wide, text.data() + i, text.size() - i, &state);
        decodes = used != static_cast<std::size_t>(-1) && used != static_cast<std::size_t>(-2);
        i += used == 0 ? 1 : used;
    }
    uselocale(previous);
    freelocale(utf8);
    return decodes;
}

TEST(JsonWriter, StringsAreValidUtf8WhateverTheirBytes)
{
    // Well-formed UTF-8 passes unchanged.
    for (const std::string name : {"Gr\xC3\xB6\xC3\x9F" "e.dat", "\xE6\x97\xA5\xE6\x9C\xAC.dat", "\xF0\x9D\x84\x9E",
                                   "\xEF\xBF\xBF"}) {
        EXPECT_EQ(JsonQuoted(name), "\"" + name + "\"");
    }
    // Latin-1, a lone continuation byte, an overlong slash, a surrogate, a
    // code point above U+10FFFF and a cut sequence: each bad byte is replaced.
    EXPECT_EQ(JsonQuoted("caf\xE9.dat"), "\"caf\\ufffd.dat\"");
    EXPECT_EQ(JsonQuoted("\x80"), "\"\\ufffd\"");
    EXPECT_EQ(JsonQuoted("\xC0\xAF"), "\"\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonQuoted("\xED\xA0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonQuoted("\xF4\x90\x80\x80"), "\"\\ufffd\\ufffd\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonQuoted("a\xE2\x82"), "\"a\\ufffd\\ufffd\"");
    // Any bytes at all give text that decodes.
    unsigned state = 12345;
    for (int trial = 0; trial < 2000; ++trial) {
        std::string bytes;
        for (int k = 0; k < 12; ++k) {
            state = state * 1103515245u + 12345u;
            bytes += static_cast<char>(state >> 16);
        }
        const std::string quoted = JsonQuoted(bytes);
        ASSERT_TRUE(DecodesAsUtf8(quoted)) << trial;
    }
}

} // namespace
