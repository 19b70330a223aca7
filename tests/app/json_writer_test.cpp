#include "report/JsonWriter.h"

#include "support/report_capture.h"

#include <gtest/gtest.h>

#include <cmath>
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

} // namespace
