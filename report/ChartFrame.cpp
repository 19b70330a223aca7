#include "report/ChartFrame.h"

#include <algorithm>
#include <cmath>

#include "report/MarkupText.h"

namespace talver {

namespace {

constexpr std::size_t kLongestName = 28;
// Average advance of a 12-unit sans-serif character, for the width of names.
constexpr double kCharacterWidth = 7.0;

// Characters, not bytes, of UTF-8 text.
std::size_t CharacterCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(),
                                                   [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

std::string ChartName(const std::string& name)
{
    if (CharacterCount(name) <= kLongestName) {
        return name;
    }
    std::string shortened;
    std::size_t characters = 0;
    for (char c : name) {
        const bool starts = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (starts && ++characters > kLongestName - 1) {
            break;
        }
        shortened += c;
    }
    return shortened + "\xE2\x80\xA6"; // ellipsis
}

ChartLayout RowChartLayout(const std::vector<std::string>& names)
{
    std::size_t longest = 2;
    for (const std::string& name : names) {
        longest = std::max(longest, CharacterCount(ChartName(name)) + 3); // room for " **"
    }
    ChartLayout layout;
    layout.left = std::clamp(16.0 + kCharacterWidth * static_cast<double>(longest), 70.0, 260.0);
    layout.right = layout.width - 28.0;
    layout.top = 60.0;
    layout.rows = static_cast<int>(names.size());
    return layout;
}

void DrawRows(SvgDocument& svg, const ChartLayout& layout, const std::vector<std::string>& names,
              const std::vector<bool>& flagged)
{
    for (int row = 0; row < layout.rows; ++row) {
        const bool flag = row < static_cast<int>(flagged.size()) && flagged[static_cast<std::size_t>(row)];
        if (flag) {
            svg.Rect(4.0, layout.top + layout.rowHeight * row, layout.right - 4.0, layout.rowHeight, kFlagBandColour);
        }
        svg.Text(layout.left - 10.0, layout.RowCentre(row) + 4.0,
                 ChartName(names[static_cast<std::size_t>(row)]) + (flag ? " **" : ""), "end", 12.0, flag);
    }
}

void DrawValueAxis(SvgDocument& svg, const ChartLayout& layout, const ChartScale& scale, const std::string& label)
{
    const double bottom = layout.Bottom();
    const int decimals = scale.TickDecimals();
    for (double tick : scale.Ticks()) {
        const double x = scale.Position(tick);
        svg.Line(x, layout.top, x, bottom, {"#D0D0D0", 1.0, ""});
        svg.Text(x, bottom + 16.0, FixedText(std::fabs(tick) < scale.step * 1e-6 ? 0.0 : tick, decimals), "middle",
                 11.0);
    }
    if (scale.low < 0.0 && scale.high > 0.0) {
        const double zero = scale.Position(0.0);
        svg.Line(zero, layout.top, zero, bottom, {"#404040", 1.0, "3 3"});
    }
    svg.Line(layout.left, bottom, layout.right, bottom, {"#000000", 1.0, ""});
    svg.Text((layout.left + layout.right) / 2.0, bottom + 38.0, label, "middle", 12.0);
}

double LegendText(SvgDocument& svg, double x, double y, const std::string& text)
{
    svg.Text(x, y + 4.0, text, "start", 12.0);
    return x + kCharacterWidth * static_cast<double>(CharacterCount(text)) + 26.0;
}

double LegendFlag(SvgDocument& svg, double x, double y, const std::string& text)
{
    svg.Rect(x - 8.0, y - 7.0, 16.0, 14.0, kFlagBandColour, {"#808080", 0.5, ""});
    return LegendText(svg, x + 14.0, y, text);
}

} // namespace talver
