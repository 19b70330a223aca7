// The geometry of the charts: nice scales and their ticks, positions on the
// value axis, and where the marks of a chart land for known values.

#include "report/ChartScale.h"
#include "report/IntervalChart.h"
#include "report/MarkupText.h"
#include "report/SvgDocument.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

using namespace talver;

namespace {

// Every value of attribute `name` of the elements `element` in an SVG text.
std::vector<double> AttributeValues(const std::string& svg, const std::string& element, const std::string& name)
{
    std::vector<double> values;
    const std::regex tag("<" + element + "\\b[^>]*\\b" + name + "=\"([-0-9.]+)\"");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), tag); it != std::sregex_iterator(); ++it) {
        values.push_back(std::stod((*it)[1].str()));
    }
    return values;
}

} // namespace

TEST(ChartScale, TicksAreNiceStepsThatCoverTheData)
{
    struct Case {
        double low, high;
    };
    for (const Case& c : {Case{-0.18, 0.97}, Case{0.0, 1.0}, Case{2.61, 3.58}, Case{0.012, 0.049},
                          Case{-153.0, 2870.0}, Case{0.5, 0.5}, Case{-3e-5, 7e-5}}) {
        const ChartScale scale = NiceScale(c.low, c.high, 100.0, 600.0);
        const std::vector<double> ticks = scale.Ticks();
        ASSERT_GE(ticks.size(), 2u) << c.low;
        EXPECT_LE(scale.low, c.low) << c.low;
        EXPECT_GE(scale.high, c.high) << c.high;
        // 1, 2 or 5 times a power of ten, and at most one step of slack on each side.
        const double mantissa = scale.step / std::pow(10.0, std::floor(std::log10(scale.step)));
        EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 ||
                    std::fabs(mantissa - 5) < 1e-9)
            << scale.step;
        if (c.high > c.low) {
            EXPECT_LT(c.low - scale.low, scale.step * 1.000001) << c.low;
            EXPECT_LT(scale.high - c.high, scale.step * 1.000001) << c.high;
        }
        EXPECT_LE(ticks.size(), 12u);
        // The ends map to the ends of the drawing range, values in between linearly.
        EXPECT_DOUBLE_EQ(scale.Position(scale.low), 100.0);
        EXPECT_DOUBLE_EQ(scale.Position(scale.high), 600.0);
        EXPECT_NEAR(scale.Position((scale.low + scale.high) / 2), 350.0, 1e-9);
        // Tick labels are distinct at the decimals chosen.
        for (std::size_t k = 1; k < ticks.size(); ++k) {
            EXPECT_NE(FixedText(ticks[k - 1], scale.TickDecimals()), FixedText(ticks[k], scale.TickDecimals()));
        }
    }
}

TEST(ChartScale, NoNegativeZeroAndNoEmptyAxis)
{
    const ChartScale scale = NiceScale(-0.18, 0.97, 0.0, 1.0);
    for (double tick : scale.Ticks()) {
        EXPECT_NE(FixedText(tick, scale.TickDecimals()), "-0.0");
    }
    const ChartScale none = NiceScale(INFINITY, -INFINITY, 0.0, 1.0);
    EXPECT_LT(none.low, none.high);
    EXPECT_TRUE(std::isfinite(none.Position(0.5)));
}

TEST(IntervalChart, MarksLandOnTheirValuesAndFlagsShowBands)
{
    IntervalChart chart;
    chart.id = "c";
    chart.title = "T <&> \"q\"";
    chart.axisLabel = "Value";
    chart.intervalName = "Interval";
    chart.flagName = "differs";
    chart.rows = {{"a", {0.0, -0.5, 0.5}, {1.0, 0.5, 1.5}, false},
                  {"b", {0.25, 0.0, 0.5}, {NAN, NAN, NAN}, true}};
    const std::string svg = IntervalChartSvg(chart);
    // The scale covers [-0.5, 1.5]; recompute it independently from the layout.
    const std::vector<double> cx = AttributeValues(svg, "circle", "cx");
    // Legend circle first, then the two Target values.
    ASSERT_EQ(cx.size(), 3u);
    const double x0 = cx[1]; // value 0.0
    const double xq = cx[2]; // value 0.25
    const double unit = (xq - x0) / 0.25;
    EXPECT_GT(unit, 0.0);
    // The Replication square of row 1 sits at value 1.0 (its left edge 4 units before).
    const std::vector<double> rx = AttributeValues(svg, "rect", "x");
    bool found = false;
    for (double x : rx) {
        found = found || std::fabs(x + 4.0 - (x0 + unit)) < 0.02;
    }
    EXPECT_TRUE(found);
    // One grey band: only row "b" is flagged; its name carries "**".
    EXPECT_EQ(AttributeValues(svg, "rect", "height").size(), rx.size());
    EXPECT_NE(svg.find(">b **</text>"), std::string::npos);
    EXPECT_EQ(svg.find(">a **</text>"), std::string::npos);
    // Markup in texts is escaped; a missing value draws no mark.
    EXPECT_NE(svg.find("T &lt;&amp;&gt; &quot;q&quot;"), std::string::npos);
    EXPECT_NE(svg.find("b, Replication: n/a [n/a; n/a]"), std::string::npos);
}

TEST(MarkupText, FixedTextRoundsAsPrintfInTheCLocale)
{
    for (double v : {0.0005, 0.0015, -0.0005, 2.675, 1e6 + 0.125, -3.14159, 123.4565}) {
        for (int decimals : {0, 2, 3, 5, 6}) {
            char expected[64];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
            // printf's "-0.00" is shown without its sign.
            const std::string shown = std::string(expected).find_first_not_of("-0.") == std::string::npos
                                          ? std::string(expected + (expected[0] == '-' ? 1 : 0))
                                          : expected;
            EXPECT_EQ(FixedText(v, decimals), shown) << v << " " << decimals;
        }
    }
    EXPECT_EQ(FixedText(-0.0004, 3), "0.000");
    EXPECT_EQ(FixedText(-0.0, 1), "0.0");
    EXPECT_EQ(FixedText(-0.0006, 3), "-0.001");
    EXPECT_EQ(FixedText(NAN, 3), "n/a");
    EXPECT_EQ(PValueText(0.000999), "< .001");
    EXPECT_EQ(PValueText(0.0476), ".048");
    EXPECT_EQ(PValueText(0.99996), "1.000");
    EXPECT_EQ(PValueText(NAN), "n/a");
    EXPECT_EQ(SvgCoordinate(12.500), "12.5");
    EXPECT_EQ(SvgCoordinate(-0.001), "0");
}
